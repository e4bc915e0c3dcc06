// Every protocol message of the station, for users that want them all.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_MESSAGES_H
#define COMMON_PROTOCOL_JSONSTRUCT_MESSAGES_H

#include "Common/Protocol/JSONStruct/BatchMessages.h"
#include "Common/Protocol/JSONStruct/CardMessages.h"
#include "Common/Protocol/JSONStruct/FaceMessages.h"
#include "Common/Protocol/JSONStruct/IdentityMessages.h"
#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"
#include "Common/Protocol/JSONStruct/RuleMessages.h"
#include "Common/Protocol/JSONStruct/SearchMessages.h"

#endif  // COMMON_PROTOCOL_JSONSTRUCT_MESSAGES_H
