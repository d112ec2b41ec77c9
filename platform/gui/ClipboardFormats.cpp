#include "platform/gui/ClipboardFormats.h"

#include <mutex>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace gui {

namespace {

constexpr unsigned FirstFormat = 0xC000;
constexpr unsigned LastFormat = 0xFFFF;

struct FormatTable {
    std::mutex Lock;
    std::vector<std::string> Names;  // index + FirstFormat is the number
};

FormatTable& Table() {
    static FormatTable table;
    return table;
}

}  // namespace

unsigned RegisterClipboardFormat(const std::string& Name) {
    if (Name.empty()) return 0;
    FormatTable& t = Table();
    std::lock_guard<std::mutex> guard(t.Lock);
    for (std::size_t i = 0; i < t.Names.size(); ++i)
        if (rtl::SameText(t.Names[i], Name)) return FirstFormat + static_cast<unsigned>(i);
    if (FirstFormat + t.Names.size() > LastFormat) return 0;
    t.Names.push_back(Name);
    return FirstFormat + static_cast<unsigned>(t.Names.size() - 1);
}

std::string GetClipboardFormatName(unsigned Format) {
    FormatTable& t = Table();
    std::lock_guard<std::mutex> guard(t.Lock);
    if (Format < FirstFormat || Format - FirstFormat >= t.Names.size()) return {};
    return t.Names[Format - FirstFormat];
}

}  // namespace gui
