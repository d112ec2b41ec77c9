#include "platform/rtl/Filer.h"

#include <vector>

#include "platform/rtl/TaggedStream.h"

namespace rtl {

namespace {

class TPropertyWriter : public TFiler {
public:
    explicit TPropertyWriter(TWriter& writer) : writer_(writer) {}

    void Write(TPersistent& instance) {
        writer_.WriteListBegin();
        CallDefineProperties(instance, this);
        writer_.WriteListEnd();
    }

    void DefineProperty(const std::string& Name, TReaderProc /*ReadData*/, TWriterProc WriteData,
                        bool HasData) override {
        if (!HasData || !WriteData) return;
        writer_.WriteString(Name);
        WriteData(writer_);
    }

    void DefineBinaryProperty(const std::string& Name, TStreamProc /*ReadData*/,
                              TStreamProc WriteData, bool HasData) override {
        if (!HasData || !WriteData) return;
        TMemoryStream data;
        WriteData(data);
        writer_.WriteString(Name);
        writer_.WriteBinary(data.Memory(), static_cast<std::size_t>(data.Size()));
    }

private:
    TWriter& writer_;
};

// Collects the definitions, then reads the stream's pairs against them.
class TPropertyReader : public TFiler {
public:
    void Read(TPersistent& instance, TReader& reader) {
        CallDefineProperties(instance, this);
        reader.ReadListBegin();
        while (!reader.EndOfList()) {
            const std::string name = reader.ReadString();
            const Definition* def = Find(name);
            if (!def) throw EReadError(Format(msg::UnknownProperty, name));
            if (def->binary) {
                const std::vector<std::uint8_t> bytes = reader.ReadBinary();
                TMemoryStream data;
                data.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
                data.SetPosition(0);
                def->readStream(data);
            } else {
                def->readData(reader);
            }
        }
        reader.ReadListEnd();
    }

    void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc /*WriteData*/,
                        bool /*HasData*/) override {
        if (ReadData) defs_.push_back({Name, false, std::move(ReadData), {}});
    }

    void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData,
                              TStreamProc /*WriteData*/, bool /*HasData*/) override {
        if (ReadData) defs_.push_back({Name, true, {}, std::move(ReadData)});
    }

private:
    struct Definition {
        std::string name;
        bool binary;
        TReaderProc readData;
        TStreamProc readStream;
    };
    const Definition* Find(const std::string& name) const {
        for (const Definition& d : defs_)
            if (SameText(d.name, name)) return &d;
        return nullptr;
    }
    std::vector<Definition> defs_;
};

}  // namespace

void WriteDefinedProperties(TPersistent& instance, TStream& stream) {
    TWriter writer(stream);
    TPropertyWriter(writer).Write(instance);
    writer.FlushBuffer();
}

void ReadDefinedProperties(TPersistent& instance, TStream& stream) {
    TReader reader(stream);
    TPropertyReader().Read(instance, reader);
    reader.FlushBuffer();
}

}  // namespace rtl
