// The face geometry of a protocol message as the boundary record carries it;
// shared by the face capture and the offline store search.
#ifndef ENROLLMENTSTATION_FACEFEATURECONVERSION_H
#define ENROLLMENTSTATION_FACEFEATURECONVERSION_H

#include "Common/Protocol/JSONStruct/FaceMessages.h"
#include "EnrollmentStation/EnrollmentStation.h"

namespace EnrollmentStation {

inline PointInfo toPointInfo(const protocol::FacePoint& point) {
    PointInfo info;
    info.x = point.m_dX;
    info.y = point.m_dY;
    return info;
}

inline FaceFeatureInfo toFaceFeatureInfo(const protocol::FaceFeatureData& feature) {
    FaceFeatureInfo info;
    info.region.height = feature.m_stRegion.m_dHeight;
    info.region.width = feature.m_stRegion.m_dWidth;
    info.region.x = feature.m_stRegion.m_dX;
    info.region.y = feature.m_stRegion.m_dY;
    info.leftEyePoint = toPointInfo(feature.m_stLeftEyePoint);
    info.rightEyePoint = toPointInfo(feature.m_stRightEyePoint);
    info.leftMouthPoint = toPointInfo(feature.m_stLeftMouthPoint);
    info.rightMouthPoint = toPointInfo(feature.m_stRightMouthPoint);
    info.noseTipPoint = toPointInfo(feature.m_stNoseTipPoint);
    return info;
}

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_FACEFEATURECONVERSION_H
