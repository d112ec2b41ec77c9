// TComponent ownership, streams, string lists and text decoding.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

using namespace rtl;

namespace {

std::string tempDir() {
    char dir[] = "/tmp/rtl_classes_XXXXXX";
    if (!mkdtemp(dir)) return "/tmp";
    return dir;
}

std::string readAll(const std::string& f) {
    std::ifstream in(f, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeAll(const std::string& f, std::string_view bytes) {
    std::ofstream out(f, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// ---- TComponent ----------------------------------------------------------------------------

std::vector<std::string>* g_log = nullptr;

class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name, int tag = 0) : TComponent(owner) {
        SetName(std::move(name));
        Tag = tag;  // set after the owner was told of the insert
    }
    ~Probe() override {
        if (g_log) g_log->push_back("free " + Name());
    }
    std::vector<std::string> notes;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        notes.push_back((op == TOperation::opInsert ? "+" : "-") + std::to_string(c->Tag));
    }
};

TEST(rtlComponent, OwnerFreesOwnedInReverseOrder) {
    std::vector<std::string> log;
    g_log = &log;
    {
        Probe owner(nullptr, "owner");
        auto* a = new Probe(&owner, "a");
        new Probe(&owner, "b");
        new Probe(a, "a1");
        EXPECT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Components(0), a);
        EXPECT_EQ(owner.Components(1)->Name(), "b");
        EXPECT_EQ(a->Owner(), &owner);
        EXPECT_EQ(a->ComponentCount(), 1);
        EXPECT_EQ(owner.notes, (std::vector<std::string>{"+0", "+0"}));
        EXPECT_THROW(owner.Components(2), EListError);
        EXPECT_THROW(owner.Components(-1), EListError);
    }
    g_log = nullptr;
    // The owner's own destructor body runs first, then it frees b, then a (which frees a1).
    EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free b", "free a", "free a1"}));
}

TEST(rtlComponent, DestroyedElsewhereLeavesItsOwner) {
    Probe owner(nullptr, "owner");
    auto* a = new Probe(&owner, "a", 1);
    auto* b = new Probe(&owner, "b", 2);
    delete a;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(owner.notes.back(), "-1");
    EXPECT_EQ(b->notes, (std::vector<std::string>{"-1"}));  // siblings hear of it too
}

TEST(rtlComponent, InsertMovesBetweenOwners) {
    Probe o1(nullptr, "o1"), o2(nullptr, "o2");
    auto* a = new Probe(&o1, "a");
    o2.InsertComponent(a);
    EXPECT_EQ(o1.ComponentCount(), 0);
    EXPECT_EQ(o2.ComponentCount(), 1);
    EXPECT_EQ(a->Owner(), &o2);
    o2.RemoveComponent(a);
    EXPECT_EQ(a->Owner(), nullptr);
    delete a;
    auto* b = new Probe(&o1, "b");
    o1.DestroyComponents();
    EXPECT_EQ(o1.ComponentCount(), 0);
    (void)b;
}

// ---- Streams -------------------------------------------------------------------------------

TEST(rtlStreams, MemoryStream) {
    TMemoryStream m;
    const char data[] = "abcdef";
    m.WriteBuffer(data, 6);
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(m.Position(), 6);
    m.SetPosition(2);
    char buf[8] = {};
    m.ReadBuffer(buf, 3);
    EXPECT_STREQ(buf, "cde");
    EXPECT_EQ(m.Read(buf, 8), 1);
    try {
        m.ReadBuffer(buf, 1);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, "Stream-Lesefehler");
    }
    m.Seek(-2, TSeekOrigin::soEnd);
    EXPECT_EQ(m.Position(), 4);
    m.Seek(10, TSeekOrigin::soBeginning);
    m.WriteBuffer("z", 1);
    EXPECT_EQ(m.Size(), 11);
    EXPECT_EQ(m.Memory()[7], 0);
    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3);
    TMemoryStream copy;
    EXPECT_EQ(copy.CopyFrom(m, 0), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(copy.Memory()), 3), "abc");
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
}

TEST(rtlStreams, FileStreamRoundTripAndShortRead) {
    const std::string d = tempDir();
    const std::string f = d + "/data.bin";
    {
        TFileStream out(f, fmCreate);
        out.WriteBuffer("hello world", 11);
        EXPECT_EQ(out.Size(), 11);
    }
    {
        TFileStream out(f, fmCreate);  // truncates
        out.WriteBuffer("hey", 3);
    }
    TFileStream in(f, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(in.Size(), 3);
    EXPECT_EQ(in.FileName(), f);
    char buf[4] = {};
    in.ReadBuffer(buf, 2);
    EXPECT_STREQ(buf, "he");
    EXPECT_THROW(in.ReadBuffer(buf, 2), EReadError);
    TMemoryStream m;
    m.LoadFromFile(f);
    EXPECT_EQ(m.Size(), 3);
    m.SaveToFile(d + "/copy.bin");
    EXPECT_EQ(readAll(d + "/copy.bin"), "hey");
    unlink(f.c_str());
    unlink((d + "/copy.bin").c_str());
    rmdir(d.c_str());
}

// The system's reason is given in German for the errors a user meets with files; others keep
// the system's own text.
TEST(rtlStreams, OpenAndCreateErrors) {
    const std::string missing = "/tmp/does/not/exist.txt";
    const std::string notFound = "Die Datei oder der Ordner wurde nicht gefunden";
    try {
        TFileStream s(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Datei /tmp/does/not/exist.txt kann nicht geöffnet werden. " + notFound);
    }
    try {
        TFileStream s(missing, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message, "Datei /tmp/does/not/exist.txt kann nicht erstellt werden. " + notFound);
    }
    const std::string longName = "/tmp/" + std::string(300, 'n') + ".txt";
    try {
        TFileStream s(longName, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message, "Datei " + longName + " kann nicht erstellt werden. Der Dateiname ist zu lang");
    }
    try {
        TFileStream s("/tmp", fmOpenRead);  // a directory is no file
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Datei /tmp kann nicht geöffnet werden. Der Name bezeichnet einen Ordner, keine Datei");
    }
}

TEST(rtlStreams, SystemErrorTexts) {
    const struct {
        int err;
        const char* text;
    } cases[] = {
        {ENOENT, "Die Datei oder der Ordner wurde nicht gefunden"},
        {EACCES, "Zugriff verweigert"},
        {EPERM, "Zugriff verweigert"},
        {ENOSPC, "Auf dem Datenträger ist nicht genug Speicherplatz frei"},
        {EDQUOT, "Auf dem Datenträger ist nicht genug Speicherplatz frei"},
        {EROFS, "Der Datenträger ist schreibgeschützt"},
        {ENAMETOOLONG, "Der Dateiname ist zu lang"},
        {EISDIR, "Der Name bezeichnet einen Ordner, keine Datei"},
        {ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
        {ELOOP, "Der Pfad enthält zu viele symbolische Verknüpfungen oder eine Schleife"},
        {EIO, "Ein-/Ausgabefehler auf dem Datenträger"},
        {EBUSY, "Die Datei oder das Gerät ist belegt"},
        {ETXTBSY, "Die Datei ist ein laufendes Programm und kann nicht geändert werden"},
        {EMFILE, "Das Programm hat zu viele Dateien geöffnet"},
        {ENFILE, "Im System sind zu viele Dateien geöffnet"},
        {EFBIG, "Die Datei ist zu groß"},
        {EEXIST, "Die Datei ist bereits vorhanden"},
        {ENXIO, "Das Gerät ist nicht vorhanden oder nicht bereit"},
        {ESTALE, "Die Datei ist auf dem Netzlaufwerk nicht mehr vorhanden"},
    };
    for (const auto& c : cases) EXPECT_EQ(SysErrorMessage(c.err), c.text) << c.err;
    // Every error a file operation meets has a German text; a number beyond them still says
    // what it is.
    for (int err : {EACCES, ENOSPC, EROFS, EISDIR, ENOTDIR, ELOOP, EIO, EBUSY, ETXTBSY, EMFILE,
                    ENFILE, EFBIG, EEXIST, ENOTEMPTY, EXDEV, ENXIO, ENODEV, EINVAL, EAGAIN, EINTR,
                    ENOMEM, EMLINK, EOVERFLOW, EOPNOTSUPP, ESTALE, ETIMEDOUT, ENOTCONN, EBADF, EPIPE})
        EXPECT_NE(SysErrorMessage(err).rfind("Systemfehler", 0), 0u) << err << " " << SysErrorMessage(err);
    EXPECT_EQ(SysErrorMessage(EDOM), "Systemfehler " + std::to_string(EDOM) + " (" + std::strerror(EDOM) + ")");
}

// ---- Text decoding and string lists --------------------------------------------------------

TEST(rtlText, DecodeTextBytes) {
    EXPECT_EQ(DecodeTextBytes("plain"), "plain");
    EXPECT_EQ(DecodeTextBytes("Gr\xC3\xB6\xC3\x9F" "e"), "Größe");
    EXPECT_EQ(DecodeTextBytes("Gr\xF6\xDF" "e"), "Größe");  // Windows-1252
    EXPECT_EQ(DecodeTextBytes("\x80 \x8A \x9F \x84 \x93 \x96"), "€ Š Ÿ „ “ –");
    EXPECT_EQ(DecodeTextBytes("\x81\xA0\xFF"), "\xC2\x81\xC2\xA0ÿ");
    EXPECT_EQ(DecodeTextBytes("\xC0\xAF"), "À¯");                // overlong UTF-8 is not UTF-8
    EXPECT_EQ(DecodeTextBytes("\xED\xA0\x80"), "í\xC2\xA0€");    // nor are surrogates
    EXPECT_EQ(DecodeTextBytes("\xC3"), "Ã");                      // truncated sequence
    // The same after any number of ASCII bytes (runs of them are checked eight at a time).
    for (std::size_t k = 0; k < 20; ++k) {
        const std::string a(k, 'a');
        EXPECT_EQ(DecodeTextBytes(a + "\xC3\xBC" + a), a + "ü" + a) << k;
        EXPECT_EQ(DecodeTextBytes(a + "\xFC" + a), a + "ü" + a) << k;
        EXPECT_EQ(DecodeTextBytes(a + "\xC3"), a + "Ã") << k;
        EXPECT_EQ(DecodeTextBytes(a + "\xC3\xBC" + a + "\xC0\xAF"), a + "Ã¼" + a + "À¯") << k;
    }
}

TEST(rtlStringList, BasicsAndIndexErrors) {
    TStringList sl;
    EXPECT_EQ(sl.Add("Alpha"), 0);
    EXPECT_EQ(sl.Add("beta"), 1);
    sl.Insert(0, "Null");
    EXPECT_EQ(sl.Count(), 3);
    EXPECT_EQ(sl[0], "Null");
    EXPECT_EQ(sl.IndexOf("ALPHA"), 1);
    EXPECT_EQ(sl.IndexOf("gamma"), -1);
    sl.Put(2, "Beta");
    EXPECT_EQ(sl.Get(2), "Beta");
    sl.Delete(0);
    EXPECT_EQ(sl.Text(), "Alpha\r\nBeta\r\n");
    auto expectIndexError = [](auto&& f, int index) {
        try {
            f();
            ADD_FAILURE();
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message, "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
        }
    };
    expectIndexError([&] { (void)sl.Get(2); }, 2);
    expectIndexError([&] { (void)sl.Get(-1); }, -1);
    expectIndexError([&] { sl.Put(5, "x"); }, 5);
    expectIndexError([&] { sl.Delete(2); }, 2);
    expectIndexError([&] { sl.Insert(3, "x"); }, 3);
    sl.Clear();
    EXPECT_EQ(sl.Count(), 0);
}

TEST(rtlStringList, SetTextLineEnds) {
    TStringList sl;
    sl.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(sl.Count(), 4);
    EXPECT_EQ(sl[3], "d");
    sl.SetText("a\r\n");
    EXPECT_EQ(sl.Count(), 1);  // a trailing break makes no extra line
    sl.SetText("a\r\n\r\n");
    EXPECT_EQ(sl.Count(), 2);
    EXPECT_EQ(sl[1], "");
    sl.SetText("");
    EXPECT_EQ(sl.Count(), 0);
    sl.SetText("\n");
    EXPECT_EQ(sl.Count(), 1);
    sl.SetText("x\n\ry");  // LF then CR: two breaks
    EXPECT_EQ(sl.Count(), 3);
}

TEST(rtlStringList, LoadAndSaveFiles) {
    const std::string d = tempDir();
    const std::string f = d + "/t.txt";
    writeAll(f, "Zeile 1\r\nGr\xF6\xDF" "e\nletzte\r\n");
    TStringList sl;
    sl.LoadFromFile(f);
    ASSERT_EQ(sl.Count(), 3);
    EXPECT_EQ(sl[1], "Größe");
    EXPECT_EQ(sl[2], "letzte");
    sl.SaveToFile(f);
    EXPECT_EQ(readAll(f), "Zeile 1\r\nGröße\r\nletzte\r\n");
    writeAll(f, "\xEF\xBB\xBF" "bom\nx");
    sl.LoadFromFile(f);
    ASSERT_EQ(sl.Count(), 2);
    EXPECT_EQ(sl[0], "bom");
    EXPECT_EQ(sl[1], "x");
    unlink(f.c_str());
    try {
        sl.LoadFromFile(f);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message.find("kann nicht geöffnet werden"), std::string::npos);
    }
    rmdir(d.c_str());
}

TEST(rtlStringList, NamesValuesCommaTextSortedOnChange) {
    TStringList sl;
    int changes = 0;
    sl.OnChange = [&](TObject*) { ++changes; };
    sl.Add("Key=Value");
    sl.Add("Other=1=2");
    sl.Add("plain");
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(sl.Names(0), "Key");
    EXPECT_EQ(sl.Names(2), "");
    EXPECT_EQ(sl.Values("KEY"), "Value");
    EXPECT_EQ(sl.Values("other"), "1=2");
    EXPECT_EQ(sl.Values("none"), "");
    EXPECT_EQ(sl.IndexOfName("Other"), 1);
    sl.SetValue("key", "neu");
    EXPECT_EQ(sl[0], "key=neu");
    sl.SetValue("Neu", "x");
    EXPECT_EQ(sl[3], "Neu=x");
    sl.SetValue("Neu", "");
    EXPECT_EQ(sl.Count(), 3);
    sl.BeginUpdate();
    changes = 0;
    sl.Add("a");
    sl.Add("b");
    EXPECT_EQ(changes, 0);
    sl.EndUpdate();
    EXPECT_EQ(changes, 1);

    TStringList c;
    c.Add("a b");
    c.Add("c");
    c.Add("x\"y");
    c.Add("");
    EXPECT_EQ(c.CommaText(), "\"a b\",c,\"x\"\"y\",");

    TStringList s;
    s.Sorted = true;
    s.Add("delta");
    s.Add("Alpha");
    s.Add("charlie");
    EXPECT_EQ(s.Add("ALPHA"), 0);  // duplicates are ignored
    EXPECT_EQ(s.Text(), "Alpha\r\ncharlie\r\ndelta\r\n");
    TStringList u;
    u.SetText("b\nA\nc");
    u.Sort();
    EXPECT_EQ(u.Text(), "A\r\nb\r\nc\r\n");
    TStringList both;
    both.AddStrings(u);
    both.AddStrings(s);
    EXPECT_EQ(both.Count(), 6);
}

}  // namespace
