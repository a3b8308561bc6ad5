#pragma once
// The program's one version: read by the VERSIONINFO resource, the About
// text and the movie's "_root.version".
#define TARVIX_VERSION_MAJOR 1
#define TARVIX_VERSION_MINOR 0
#define TARVIX_VERSION_REVISION 1

#define TARVIX_STRINGIZE2(x) #x
#define TARVIX_STRINGIZE(x) TARVIX_STRINGIZE2(x)
// major.minor.0.revision, as the movie shows it.
#define TARVIX_VERSION_TEXT                                                   \
  TARVIX_STRINGIZE(TARVIX_VERSION_MAJOR) "." TARVIX_STRINGIZE(TARVIX_VERSION_MINOR) ".0." \
  TARVIX_STRINGIZE(TARVIX_VERSION_REVISION)
