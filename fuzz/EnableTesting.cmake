# Included right after project() by the "fuzz" preset: that preset builds no
# unit tests, yet its smoke runs must be found by ctest from the build root.
enable_testing()
