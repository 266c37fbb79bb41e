#include "StandardStreams.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace pavok {

int CheckStandardStreams(int status, const char* program, int failure) {
  errno = 0;
  std::cout.flush();
  std::cerr.flush();
  const bool outFailed = !std::cout || std::ferror(stdout) != 0 || std::fclose(stdout) != 0;
  if (outFailed) {
    const int reason = errno != 0 ? errno : EIO;
    std::fprintf(stderr, "%s: write error on the standard output: %s\n", program, std::strerror(reason));
  }
  const bool errorsFailed = !std::cerr || std::fflush(stderr) != 0 || std::ferror(stderr) != 0;
  return outFailed || errorsFailed ? failure : status;
}

}  // namespace pavok
