#include "StandardStreams.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "Translation.h"

namespace pavok {

int CheckStandardStreams(int status, const char* program, int failure) {
  const std::string writeError = Tr("write error on the standard output");
  errno = 0;
  std::cout.flush();
  std::cerr.flush();
  const bool outFailed = !std::cout || std::ferror(stdout) != 0 || std::fclose(stdout) != 0;
  // A write that failed earlier leaves the stream's error flag but no
  // reason, as with the core utilities.
  if (outFailed && errno != 0) {
    std::fprintf(stderr, "%s: %s: %s\n", program, writeError.c_str(), std::strerror(errno));
  } else if (outFailed) {
    std::fprintf(stderr, "%s: %s\n", program, writeError.c_str());
  }
  const bool errorsFailed = !std::cerr || std::fflush(stderr) != 0 || std::ferror(stderr) != 0;
  return outFailed || errorsFailed ? failure : status;
}

}  // namespace pavok
