// The encryption component a sortable grid hands its key to. It keeps its settings only; nothing
// in the program encrypts or decrypts with it.
#pragma once

#include <string>

#include "platform/rtl/Classes.h"

enum class TEncryptionAction { atEncryption, atDecryption };

class TQemEncryption : public rtl::TComponent {
public:
    explicit TQemEncryption(rtl::TComponent* owner) : rtl::TComponent(owner) {}

    const std::string& Input() const { return input_; }
    void SetInput(const std::string& s);
    const std::string& Output() const { return output_; }
    void SetOutput(const std::string& s);
    const std::string& Key() const { return key_; }
    void SetKey(const std::string& s);
    TEncryptionAction Action = TEncryptionAction::atEncryption;

private:
    std::string input_, output_, key_;
};
