#include "Common/Protocol/JSONStruct/FaceMessages.h"

#include "Common/Protocol/JSONStruct/FieldTable.h"

namespace protocol {
namespace {

using PointFields = detail::FieldsOf<FacePoint>;
constexpr detail::FieldDesc kPointFields[] = {
    PointFields::field<&FacePoint::m_dX>("x"),
    PointFields::field<&FacePoint::m_dY>("y"),
};

using RegionFields = detail::FieldsOf<Region>;
constexpr detail::FieldDesc kRegionFields[] = {
    RegionFields::field<&Region::m_dHeight>("height"),
    RegionFields::field<&Region::m_dWidth>("width"),
    RegionFields::field<&Region::m_dX>("x"),
    RegionFields::field<&Region::m_dY>("y"),
};

using FeatureFields = detail::FieldsOf<FaceFeatureData>;
constexpr detail::FieldDesc kFeatureFields[] = {
    FeatureFields::field<&FaceFeatureData::m_stRegion>("Region"),
    FeatureFields::field<&FaceFeatureData::m_stLeftEyePoint>("LeftEyePoint"),
    FeatureFields::field<&FaceFeatureData::m_stRightEyePoint>("RightEyePoint"),
    FeatureFields::field<&FaceFeatureData::m_stLeftMouthPoint>("LeftMouthPoint"),
    FeatureFields::field<&FaceFeatureData::m_stRightMouthPoint>("RightMouthPoint"),
    FeatureFields::field<&FaceFeatureData::m_stNoseTipPoint>("NoseTipPoint"),
};

using FaceFields = detail::FieldsOf<FaceData>;
constexpr detail::FieldDesc kFaceFields[] = {
    FaceFields::field<&FaceData::m_strFaceTemplate1>("faceTemplate1"),
    FaceFields::field<&FaceData::m_nFaceTemplate1Quality>("faceTemplate1Quality"),
    FaceFields::field<&FaceData::m_strFaceTemplate2>("faceTemplate2"),
    FaceFields::field<&FaceData::m_nFaceTemplate2Quality>("faceTemplate2Quality"),
    FaceFields::field<&FaceData::m_strFaceData>("faceData"),
    FaceFields::field<&FaceData::m_nFaceDataQuality>("faceDataQuality"),
    FaceFields::field<&FaceData::m_strInfraredFaceData>("infraredFaceData"),
    FaceFields::field<&FaceData::m_nInfraredFaceDataQuality>("infraredFaceDataQuality"),
    FaceFields::field<&FaceData::m_stFaceFeature>("faceFeature"),
};

}  // namespace

void FacePoint::fromJSON(const cJSON* node) { PointFields::read(*this, kPointFields, node); }
cJSON* FacePoint::toJSON() const { return PointFields::write(*this, kPointFields); }

const char* LeftEyePoint::getRootName() const { return "LeftEyePoint"; }
const char* RightEyePoint::getRootName() const { return "RightEyePoint"; }
const char* LeftMouthPoint::getRootName() const { return "LeftMouthPoint"; }
const char* RightMouthPoint::getRootName() const { return "RightMouthPoint"; }
const char* NoseTipPoint::getRootName() const { return "NoseTipPoint"; }

void Region::fromJSON(const cJSON* node) { RegionFields::read(*this, kRegionFields, node); }
cJSON* Region::toJSON() const { return RegionFields::write(*this, kRegionFields); }
const char* Region::getRootName() const { return "Region"; }

void FaceFeatureData::fromJSON(const cJSON* node) { FeatureFields::read(*this, kFeatureFields, node); }
cJSON* FaceFeatureData::toJSON() const { return FeatureFields::write(*this, kFeatureFields); }
const char* FaceFeatureData::getRootName() const { return "FaceFeature"; }

void FaceData::fromJSON(const cJSON* node) { FaceFields::read(*this, kFaceFields, node); }
cJSON* FaceData::toJSON() const { return FaceFields::write(*this, kFaceFields); }
const char* FaceData::getRootName() const { return "FaceData"; }

}  // namespace protocol
