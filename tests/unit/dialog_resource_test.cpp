// The compiled resource script, decoded field by field from the .res file
// that windres writes, against the values the program must carry.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

const uint16_t kPolishPoland = 0x0415;
const uint16_t kIconType = 3;
const uint16_t kDialogType = 5;
const uint16_t kIconGroupType = 14;
const uint16_t kOrdinal = 0xFFFF;
const uint16_t kButton = 0x0080;
const uint16_t kEdit = 0x0081;
const uint16_t kStatic = 0x0082;
const uint16_t kComboBox = 0x0085;
const uint16_t kNoId = 0xFFFF;

struct ExpectedControl {
    uint16_t id;
    uint16_t classAtom;
    std::u16string caption;
    uint32_t style;
    int16_t x, y, width, height;
};

const ExpectedControl kExpectedControls[] = {
    {kNoId, kButton, u"Instalowane składniki", 0x50020007, 5, 5, 319, 120},
    {kNoId, kStatic,
     u"Wybierz instalowane składniki (jeśli nie jesteś pewny - pozostaw składnik z listy jako wybrany):", 0x50020000,
     15, 20, 180, 20},
    {1001, kButton, u"Sterowniki czytnika kart", 0x50038003, 8, 48, 105, 15},
    {1002, kButton, u"Komponenty dla MS Internet Explorer", 0x48018003, 8, 65, 145, 15},
    {1003, kButton, u"Komponenty dla Netscape 4.x", 0x48018003, 8, 79, 145, 15},
    {1004, kButton, u"Komponenty dla Sun Java Plug-in", 0x50018003, 8, 95, 145, 15},
    {1005, kStatic, u"", 0x5002020C, 165, 50, 30, 15},
    {1006, kStatic, u"", 0x5002020C, 165, 65, 30, 15},
    {1007, kStatic, u"", 0x5002020C, 165, 80, 30, 15},
    {1008, kStatic, u"", 0x5002020C, 165, 95, 30, 15},
    {1010, kComboBox, u"", 0x50230003, 99, 50, 211, 60},
    {1, kButton, u"In&staluj", 0x50030001, 10, 130, 80, 14},
    {2, kButton, u"&Zaniechaj", 0x50010000, 235, 130, 80, 14},
    {1009, kEdit, u"", 0x50A20804, 5, 150, 315, 100},
};

// Little-endian reading with bounds checks; a read past the end fails the test.
class Reader {
  public:
    Reader(const std::vector<uint8_t> &data, size_t offset, size_t end) : data_(data), at_(offset), end_(end) {}

    bool Ok() const { return ok_; }
    size_t At() const { return at_; }

    uint16_t Word() { return static_cast<uint16_t>(Take(2)); }
    uint32_t Dword() { return static_cast<uint32_t>(Take(4)); }
    int16_t Short() { return static_cast<int16_t>(Word()); }

    // A name or ordinal field: 0xFFFF and a number, or a NUL-terminated string.
    std::u16string NameOrOrdinal(uint16_t *ordinal) {
        *ordinal = 0;
        if (Peek() == kOrdinal) {
            Word();
            *ordinal = Word();
            return u"";
        }
        return String();
    }

    std::u16string String() {
        std::u16string text;
        for (uint16_t c = Word(); ok_ && c != 0; c = Word()) text += static_cast<char16_t>(c);
        return text;
    }

    void AlignToDword() { at_ = (at_ + 3) & ~size_t(3); }

  private:
    uint16_t Peek() {
        size_t at = at_;
        uint16_t value = Word();
        at_ = at;
        return value;
    }
    uint64_t Take(size_t bytes) {
        if (at_ + bytes > end_) {
            ok_ = false;
            return 0;
        }
        uint64_t value = 0;
        for (size_t i = 0; i < bytes; ++i) value |= uint64_t(data_[at_ + i]) << (8 * i);
        at_ += bytes;
        return value;
    }

    const std::vector<uint8_t> &data_;
    size_t at_;
    size_t end_;
    bool ok_ = true;
};

struct Resource {
    uint16_t language;
    std::vector<uint8_t> data;
};

// The resources of the file by (type, id); only ordinal types and ids occur.
std::map<std::pair<uint16_t, uint16_t>, Resource> ReadResources() {
    std::ifstream file(INSTALLER_RES, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << INSTALLER_RES;

    std::map<std::pair<uint16_t, uint16_t>, Resource> resources;
    size_t at = 0;
    bool first = true;
    while (at < bytes.size()) {
        Reader header(bytes, at, bytes.size());
        uint32_t dataSize = header.Dword();
        uint32_t headerSize = header.Dword();
        uint16_t type = 0, id = 0;
        std::u16string typeName = header.NameOrOrdinal(&type);
        std::u16string idName = header.NameOrOrdinal(&id);
        header.AlignToDword();
        header.Dword(); // data version
        header.Word();  // memory flags
        uint16_t language = header.Word();
        EXPECT_TRUE(header.Ok());
        EXPECT_TRUE(typeName.empty() && idName.empty()) << "resources are named by number";
        size_t dataAt = at + headerSize;
        if (!header.Ok() || dataAt + dataSize > bytes.size()) {
            ADD_FAILURE() << "resource file cut short";
            break;
        }
        // The file starts with an empty entry that marks its format.
        if (first) {
            EXPECT_EQ(dataSize, 0u);
            EXPECT_EQ(type, 0);
        } else {
            EXPECT_EQ(resources.count({type, id}), 0u) << "duplicate resource " << type << "/" << id;
            resources[{type, id}] = {language,
                                     std::vector<uint8_t>(bytes.begin() + dataAt, bytes.begin() + dataAt + dataSize)};
        }
        first = false;
        at = (dataAt + dataSize + 3) & ~size_t(3);
    }
    return resources;
}

TEST(DialogResourceTest, HoldsTheDialogAndOneIconGroupInPolishAndNothingElse) {
    auto resources = ReadResources();
    ASSERT_EQ(resources.size(), 3u);
    ASSERT_EQ(resources.count({kDialogType, 101}), 1u);
    ASSERT_EQ(resources.count({kIconGroupType, 1}), 1u);
    for (const auto &entry : resources) {
        EXPECT_EQ(entry.second.language, kPolishPoland) << entry.first.first << "/" << entry.first.second;
        EXPECT_TRUE(entry.first.first == kDialogType || entry.first.first == kIconGroupType ||
                    entry.first.first == kIconType)
            << "unexpected resource type " << entry.first.first;
    }
}

TEST(DialogResourceTest, IconGroupHasOne32By32ImageOf16Colours) {
    auto resources = ReadResources();
    const std::vector<uint8_t> &group = resources[{kIconGroupType, 1}].data;
    Reader reader(group, 0, group.size());
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_EQ(reader.Word(), 1) << "an icon, not a cursor";
    ASSERT_EQ(reader.Word(), 1) << "one image";
    uint32_t sizes = reader.Dword(); // width, height, colours, reserved
    EXPECT_EQ(sizes & 0xFF, 32u);
    EXPECT_EQ((sizes >> 8) & 0xFF, 32u);
    EXPECT_EQ((sizes >> 16) & 0xFF, 16u);
    EXPECT_EQ(reader.Word(), 1) << "planes";
    EXPECT_EQ(reader.Word(), 4) << "bits per pixel";
    uint32_t imageSize = reader.Dword();
    uint16_t imageId = reader.Word();
    ASSERT_TRUE(reader.Ok());
    EXPECT_EQ(reader.At(), group.size());

    ASSERT_EQ(resources.count({kIconType, imageId}), 1u);
    const std::vector<uint8_t> &image = resources[{kIconType, imageId}].data;
    EXPECT_EQ(image.size(), imageSize);
    Reader bitmap(image, 0, image.size());
    EXPECT_EQ(bitmap.Dword(), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(bitmap.Dword(), 32u);
    EXPECT_EQ(bitmap.Dword(), 64u) << "colour bitmap and mask";
    EXPECT_EQ(bitmap.Word(), 1);
    EXPECT_EQ(bitmap.Word(), 4);
    // Header, 16 palette entries, 4-bit colours and the 1-bit mask.
    EXPECT_EQ(image.size(), 40u + 16 * 4 + 32 * 32 / 2 + 32 * 4);
}

TEST(DialogResourceTest, Dialog101MatchesItsTemplateFieldByField) {
    auto resources = ReadResources();
    const std::vector<uint8_t> &dialog = resources[{kDialogType, 101}].data;
    Reader reader(dialog, 0, dialog.size());
    EXPECT_EQ(reader.Dword(), 0x80C808C0u) << "style";
    EXPECT_EQ(reader.Dword(), 0u) << "extended style";
    uint16_t count = reader.Word();
    EXPECT_EQ(count, 14);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 370);
    EXPECT_EQ(reader.Short(), 255);
    uint16_t ordinal;
    EXPECT_EQ(reader.NameOrOrdinal(&ordinal), u"") << "no menu";
    EXPECT_EQ(ordinal, 0);
    EXPECT_EQ(reader.NameOrOrdinal(&ordinal), u"") << "the default dialog class";
    EXPECT_EQ(ordinal, 0);
    EXPECT_EQ(reader.String(), u"") << "no caption";
    EXPECT_EQ(reader.Word(), 8) << "font size";
    EXPECT_EQ(reader.String(), u"MS Sans Serif");
    ASSERT_TRUE(reader.Ok());
    ASSERT_EQ(count, std::size(kExpectedControls));

    for (const ExpectedControl &expected : kExpectedControls) {
        reader.AlignToDword();
        SCOPED_TRACE("control " + std::to_string(expected.id));
        EXPECT_EQ(reader.Dword(), expected.style);
        EXPECT_EQ(reader.Dword(), 0u) << "extended style";
        EXPECT_EQ(reader.Short(), expected.x);
        EXPECT_EQ(reader.Short(), expected.y);
        EXPECT_EQ(reader.Short(), expected.width);
        EXPECT_EQ(reader.Short(), expected.height);
        EXPECT_EQ(reader.Word(), expected.id);
        uint16_t classAtom;
        EXPECT_EQ(reader.NameOrOrdinal(&classAtom), u"") << "a predefined class, by atom";
        EXPECT_EQ(classAtom, expected.classAtom);
        uint16_t captionOrdinal;
        EXPECT_EQ(reader.NameOrOrdinal(&captionOrdinal), expected.caption);
        EXPECT_EQ(captionOrdinal, 0);
        EXPECT_EQ(reader.Word(), 0) << "no creation data";
        ASSERT_TRUE(reader.Ok());
    }
    EXPECT_EQ(reader.At(), dialog.size());
}

} // namespace
