#pragma once
// A program's last check that what it wrote reached the standard output
// and error streams: a full disk or a closed pipe behind them must not end
// in success.

namespace pavok {

// `status` when both streams took everything; otherwise `failure`, with a
// message naming `program` and the reason on the error stream while it
// still takes one.
int CheckStandardStreams(int status, const char* program, int failure);

}  // namespace pavok
