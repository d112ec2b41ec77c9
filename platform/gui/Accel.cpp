#include "platform/gui/Accel.h"

#include <QList>
#include <QString>

namespace gui {

char32_t GetHotKey(const std::string& caption) {
    const QList<uint> cps = QString::fromStdString(caption).toUcs4();
    for (qsizetype i = 0; i + 1 < cps.size(); ++i) {
        if (cps[i] != '&') continue;
        if (cps[i + 1] == '&') {
            ++i;
            continue;
        }
        return cps[i + 1];
    }
    return 0;
}

bool IsAccel(char32_t key, const std::string& caption) {
    const char32_t hot = GetHotKey(caption);
    if (hot == 0 || key == 0) return false;
    return QChar::toUpper(static_cast<char32_t>(hot)) == QChar::toUpper(static_cast<char32_t>(key));
}

}  // namespace gui
