// Face capture and face geometry messages. Coordinates are the device's
// reals, passed through unscaled and unchecked.
// Thread safety: one thread at a time per message.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_FACEMESSAGES_H
#define COMMON_PROTOCOL_JSONSTRUCT_FACEMESSAGES_H

#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include <cstdint>
#include <string>

namespace protocol {

// The layout and JSON form shared by the five landmark points; each point
// class only names its root key.
class FacePoint : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;

    double m_dX = 0.0;
    double m_dY = 0.0;
};

class LeftEyePoint : public FacePoint {
public:
    const char* getRootName() const override;
};

class RightEyePoint : public FacePoint {
public:
    const char* getRootName() const override;
};

class LeftMouthPoint : public FacePoint {
public:
    const char* getRootName() const override;
};

class RightMouthPoint : public FacePoint {
public:
    const char* getRootName() const override;
};

class NoseTipPoint : public FacePoint {
public:
    const char* getRootName() const override;
};

// Root key "Region": the face rectangle.
class Region : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    double m_dHeight = 0.0;
    double m_dWidth = 0.0;
    double m_dX = 0.0;
    double m_dY = 0.0;
};

// Root key "FaceFeature": the face geometry.
class FaceFeatureData : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    Region m_stRegion;
    LeftEyePoint m_stLeftEyePoint;
    RightEyePoint m_stRightEyePoint;
    LeftMouthPoint m_stLeftMouthPoint;
    RightMouthPoint m_stRightMouthPoint;
    NoseTipPoint m_stNoseTipPoint;
};

// Root key "FaceData": one face capture. Its geometry is written under
// "faceFeature" (lower-case f), unlike the root key of FaceFeatureData.
class FaceData : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strFaceTemplate1;
    std::int32_t m_nFaceTemplate1Quality = 0;
    std::string m_strFaceTemplate2;
    std::int32_t m_nFaceTemplate2Quality = 0;
    std::string m_strFaceData;
    std::int32_t m_nFaceDataQuality = 0;
    std::string m_strInfraredFaceData;
    std::int32_t m_nInfraredFaceDataQuality = 0;
    FaceFeatureData m_stFaceFeature;
};

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_FACEMESSAGES_H
