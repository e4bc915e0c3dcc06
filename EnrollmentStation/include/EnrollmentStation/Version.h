// The library's version. The build takes its package version from here, so
// this is the one place to change it.
#ifndef ENROLLMENTSTATION_VERSION_H
#define ENROLLMENTSTATION_VERSION_H

#define ENROLLMENTSTATION_VERSION_MAJOR 0
#define ENROLLMENTSTATION_VERSION_MINOR 1
#define ENROLLMENTSTATION_VERSION_PATCH 0
#define ENROLLMENTSTATION_VERSION_STRING "0.1.0"

#endif  // ENROLLMENTSTATION_VERSION_H
