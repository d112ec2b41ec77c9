// libFuzzer entry of one target (FELDOR_FUZZ_TARGET names it): the input goes through the
// program's own command on a headless viewer that lives for the whole run. An rtl::Exception is
// the error box a user would see; anything else leaving the command is a finding.
#include <time.h>

#include <cerrno>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include <QString>
#include <QtGlobal>

#include "fuzz/FuzzViewer.h"

// The progress windows pause 200 ms at their end so that the full gauge can be seen; here that
// would only slow the run. Longer sleeps (the fuzzer's own watchdog) still sleep.
extern "C" int nanosleep(const struct timespec* req, struct timespec* rem) {
    if (req && req->tv_sec == 0) return 0;
    const int err = clock_nanosleep(CLOCK_MONOTONIC, 0, req, rem);
    if (err == 0) return 0;
    errno = err;
    return -1;
}

// The headless platform warns about every window request it cannot carry out ("This plugin does
// not support raise()" for each window brought to the front): once per input, it would bury the
// fuzzer's own output. Every other message passes on.
static QtMessageHandler previousHandler = nullptr;
static void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (type == QtWarningMsg && msg.startsWith(QLatin1String("This plugin does not support "))) return;
    if (previousHandler)
        previousHandler(type, context, msg);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, msg)));
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    previousHandler = qInstallMessageHandler(FilterMessages);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Created on the first input, after libFuzzer has set up; kept until the process ends.
    static fuzzviewer::HeadlessViewer* viewer = new fuzzviewer::HeadlessViewer();
    try {
        fuzzviewer::Feed(*viewer, fuzzviewer::Target::FELDOR_FUZZ_TARGET,
                         std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const rtl::Exception&) {
    }
    return 0;
}
