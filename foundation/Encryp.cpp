#include "foundation/Encryp.h"

void TQemEncryption::SetInput(const std::string& s) {
    if (s != input_) input_ = s;
}

void TQemEncryption::SetOutput(const std::string& s) {
    if (s != output_) output_ = s;
}

void TQemEncryption::SetKey(const std::string& s) {
    if (s != key_) key_ = s;
}
