// The program's own process set-up.
#include "platform/rtl/ProcessSetup.h"

#include <signal.h>

#include <initializer_list>

namespace rtl {

namespace {

// Caught rather than ignored: the write that raised the signal still fails with its error, and
// a program started from this one gets the default handling back when it is executed (an
// ignored signal would stay ignored in it).
void WriteSignal(int) {}

}  // namespace

void SetUpProcess() {
    struct sigaction caught {};
    caught.sa_handler = WriteSignal;
    caught.sa_flags = SA_RESTART;
    sigemptyset(&caught.sa_mask);
    for (const int signal : {SIGPIPE, SIGXFSZ}) ::sigaction(signal, &caught, nullptr);
}

}  // namespace rtl
