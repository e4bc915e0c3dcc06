// Export macro of the EnrollmentStation library.
#ifndef ENROLLMENTSTATION_EXPORT_H
#define ENROLLMENTSTATION_EXPORT_H

#if defined(_WIN32)
#  if defined(ENROLLMENTSTATION_BUILD)
#    define ENROLLMENTSTATION_API __declspec(dllexport)
#  else
#    define ENROLLMENTSTATION_API __declspec(dllimport)
#  endif
#else
#  define ENROLLMENTSTATION_API __attribute__((visibility("default")))
#endif

#endif  // ENROLLMENTSTATION_EXPORT_H
