// What the program sets up for its own process before its first window.
#pragma once

namespace rtl {

// A write that cannot go on fails with its error instead of ending the program: beyond the
// file-size limit with EFBIG instead of SIGXFSZ, into a pipe whose reader has gone with EPIPE
// instead of SIGPIPE. Every save then reports the failure through its message and keeps the old
// file. The main block calls it first; programs this one starts get the default handling back.
void SetUpProcess();

}  // namespace rtl
