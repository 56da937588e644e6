// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFPreferencesFile.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "platform/CoreFoundation/PropertyListNesting.h"
#include "tests/support/ForkedProcess.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TemporaryConfigHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <plist/plist.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// An application of the tests' own, with a boolean and a text key.
const std::string kApp = "com.example.Preferences";
const CFStringRef kOnKey = CFSTR("On");
const CFStringRef kCountriesKey = CFSTR("Countries");

CFStringRef app() {
    return CFSTR("com.example.Preferences");
}

CFRef<CFStringRef> text(const std::string& utf8) {
    return CFRef<CFStringRef>(CFStringCreateWithUTF8(utf8));
}

CFRef<CFPropertyListRef> copyValue(const std::string& key) {
    return CFRef<CFPropertyListRef>(CFPreferencesCopyAppValue(text(key).get(), app()));
}

// The stored text of `key`, or "<missing>" / "<not a text>".
std::string storedText(const std::string& key) {
    CFRef<CFPropertyListRef> value = copyValue(key);
    if (!value) return "<missing>";
    if (CFGetTypeID(value.get()) != CFStringGetTypeID()) return "<not a text>";
    return std::string(CFStringGetUTF8(static_cast<CFStringRef>(value.get())));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string plistDocument(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n" + body +
           "</dict>\n</plist>\n";
}

// The file's dictionary, as it is on disk rather than in the process's view.
PlistPtr parseFile(const fs::path& path) {
    return ReadPropertyListDictionary(path.string());
}

// The kept copies of a damaged `file`, oldest first.
std::vector<fs::path> corruptCopies(const fs::path& file) {
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().starts_with(file.filename().string() + ".corrupt-"))
            copies.push_back(entry.path());
    std::sort(copies.begin(), copies.end());
    return copies;
}

mode_t permissions(const fs::path& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(CFPreferences, SetShowsAtOnceAndSynchronizeWritesAPrivateXmlFile) {
    TemporaryConfigHome home;
    CFPreferencesSetAppValue(kOnKey, kCFBooleanFalse, app());
    CFPreferencesSetAppValue(kCountriesKey, CFSTR("Euro,Yen,"), app());
    EXPECT_EQ(copyValue("On").get(), kCFBooleanFalse);
    EXPECT_EQ(storedText("Countries"), "Euro,Yen,");
    EXPECT_FALSE(fs::exists(home.preferencesFile(kApp))) << "nothing is written before a sync";

    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    const std::string xml = readFile(home.preferencesFile(kApp));
    EXPECT_NE(xml.find("<key>On</key>"), std::string::npos);
    EXPECT_NE(xml.find("<false/>"), std::string::npos);
    EXPECT_NE(xml.find("<string>Euro,Yen,</string>"), std::string::npos);
    EXPECT_EQ(permissions(home.preferencesFile(kApp)), 0600u);
    EXPECT_EQ(permissions(home.preferencesFolder()), 0700u);

    // A null value removes the key from the file, and clearing to "" is not a removal.
    CFPreferencesSetAppValue(kOnKey, nullptr, app());
    CFPreferencesSetAppValue(kCountriesKey, CFSTR(""), app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_FALSE(copyValue("On"));
    EXPECT_EQ(storedText("Countries"), "");
    PlistPtr stored = parseFile(home.preferencesFile(kApp));
    EXPECT_EQ(plist_dict_get_item(stored.get(), "On"), nullptr);
    EXPECT_NE(plist_dict_get_item(stored.get(), "Countries"), nullptr);
}

TEST(CFPreferences, AnotherProcessSeesValuesAfterSynchronizeAndReadsStayInMemory) {
    TemporaryConfigHome home;
    EXPECT_FALSE(copyValue("On")); // this process has now read the (missing) file once

    ForkedProcess writer([] {
        CFPreferencesSetAppValue(kOnKey, kCFBooleanFalse, app());
        CFPreferencesSetAppValue(kCountriesKey, CFSTR("Euro,"), app());
        return CFPreferencesAppSynchronize(app());
    });
    ASSERT_TRUE(writer.succeeded());

    const long readsBefore = CFPreferencesFileReadCount();
    EXPECT_FALSE(copyValue("On")) << "a read between syncs sees the view, not the disk";
    EXPECT_EQ(CFPreferencesFileReadCount(), readsBefore);

    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_EQ(copyValue("On").get(), kCFBooleanFalse);
    EXPECT_EQ(storedText("Countries"), "Euro,");
}

TEST(CFPreferences, TwoProcessesWritingDifferentKeysLoseNothing) {
    // In memory where there is such a folder: the test is about the lock and the merge, and
    // hundreds of flushes to a busy disk would take many seconds.
    TemporaryConfigHome home(fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                          : fs::temp_directory_path());
    constexpr int kWrites = 200;
    int startLine[2];
    ASSERT_EQ(pipe(startLine), 0);
    auto writeKeys = [&](const char* prefix) {
        char go;
        close(startLine[1]);
        if (read(startLine[0], &go, 1) != 0) return false; // both start when the line closes
        bool ok = true;
        for (int i = 0; i < kWrites; ++i) {
            const std::string key = prefix + std::to_string(i);
            CFPreferencesSetAppValue(text(key).get(), text("value of " + key).get(), app());
            ok = CFPreferencesAppSynchronize(app()) && ok;
        }
        return ok;
    };
    ForkedProcess first([&] { return writeKeys("first"); });
    ForkedProcess second([&] { return writeKeys("second"); });
    close(startLine[0]);
    close(startLine[1]);
    ASSERT_TRUE(first.succeeded());
    ASSERT_TRUE(second.succeeded());

    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    int missing = 0;
    for (int i = 0; i < kWrites; ++i)
        for (const char* prefix : {"first", "second"}) {
            const std::string key = prefix + std::to_string(i);
            missing += storedText(key) != "value of " + key;
        }
    EXPECT_EQ(missing, 0);
}

TEST(CFPreferences, ValuesOfOtherTypesReadAsNeitherBooleanNorTextAndSurviveRewrites) {
    TemporaryConfigHome home;
    const std::string others =
        "<key>Count</key><integer>42</integer>"
        "<key>When</key><date>2024-05-01T10:00:00Z</date>"
        "<key>List</key><array><string>a</string><integer>1</integer></array>"
        "<key>Nested</key><dict><key>k</key><false/></dict>"
        "<key>Blob</key><data>AAEC</data>"
        "<key>Ratio</key><real>0.5</real>";
    writeFile(home.preferencesFile(kApp), plistDocument("<key>On</key><string>yes</string>"
                                                        "<key>Countries</key><integer>3</integer>" +
                                                        others));
    PlistPtr before = parseFile(home.preferencesFile(kApp));

    CFRef<CFPropertyListRef> on = copyValue("On");
    ASSERT_TRUE(on);
    EXPECT_NE(CFGetTypeID(on.get()), CFBooleanGetTypeID());
    CFRef<CFPropertyListRef> countries = copyValue("Countries");
    ASSERT_TRUE(countries);
    EXPECT_NE(CFGetTypeID(countries.get()), CFBooleanGetTypeID());
    EXPECT_NE(CFGetTypeID(countries.get()), CFStringGetTypeID());
    EXPECT_EQ(CFGetTypeID(countries.get()), CFOpaqueValueGetTypeID());

    // A value read back can be stored under another key unchanged.
    CFPreferencesSetAppValue(CFSTR("CopyOfList"), copyValue("List").get(), app());
    CFPreferencesSetAppValue(kOnKey, kCFBooleanTrue, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));

    PlistPtr after = parseFile(home.preferencesFile(kApp));
    ASSERT_TRUE(after);
    for (const char* key : {"Countries", "Count", "When", "List", "Nested", "Blob", "Ratio"}) {
        plist_t was = plist_dict_get_item(before.get(), key);
        plist_t now = plist_dict_get_item(after.get(), key);
        ASSERT_NE(now, nullptr) << key;
        EXPECT_EQ(CFPropertyListNodeXml(was), CFPropertyListNodeXml(now)) << key;
    }
    plist_t list = plist_dict_get_item(after.get(), "CopyOfList");
    ASSERT_EQ(plist_get_node_type(list), PLIST_ARRAY);
    EXPECT_EQ(CFPropertyListNodeXml(list),
              CFPropertyListNodeXml(plist_dict_get_item(before.get(), "List")));
    EXPECT_TRUE(CFEqual(copyValue("CopyOfList").get(), copyValue("List").get()));
    EXPECT_FALSE(CFEqual(copyValue("Nested").get(), copyValue("List").get()));
    EXPECT_EQ(copyValue("On").get(), kCFBooleanTrue);
}

TEST(CFPreferences, ReadsBinaryPropertyLists) {
    TemporaryConfigHome home;
    PlistPtr dictionary(plist_new_dict());
    plist_dict_set_item(dictionary.get(), "On", plist_new_bool(0));
    plist_dict_set_item(dictionary.get(), "Countries", plist_new_string("Pound,"));
    char* binary = nullptr;
    uint32_t length = 0;
    plist_to_bin(dictionary.get(), &binary, &length);
    writeFile(home.preferencesFile(kApp), std::string(binary, length));
    plist_to_bin_free(binary);

    EXPECT_EQ(copyValue("On").get(), kCFBooleanFalse);
    EXPECT_EQ(storedText("Countries"), "Pound,");
}

TEST(CFPreferences, ACorruptFileReadsAsEmptyAndIsKeptAsideBeforeItIsReplaced) {
    TemporaryConfigHome home;
    const fs::path file = home.preferencesFile(kApp);
    for (const std::string& garbage : {std::string("not a property list \x01\x02"), std::string(),
                                       plistDocument("").substr(0, 20) + "<array>",
                                       std::string("<plist><string>root</string></plist>")}) {
        SCOPED_TRACE(garbage);
        writeFile(file, garbage);
        ASSERT_TRUE(CFPreferencesAppSynchronize(app())) << "nothing pending: reading is enough";
        EXPECT_FALSE(copyValue("On"));
        EXPECT_EQ(readFile(file), garbage) << "a read never moves or changes the file";

        CFPreferencesSetAppValue(kOnKey, kCFBooleanTrue, app());
        ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
        ASSERT_FALSE(corruptCopies(file).empty());
        EXPECT_EQ(readFile(corruptCopies(file).back()), garbage);
        PlistPtr replaced = parseFile(file);
        ASSERT_TRUE(replaced);
        EXPECT_NE(plist_dict_get_item(replaced.get(), "On"), nullptr);
    }
}

TEST(CFPreferences, AFailedWriteKeepsChangesForTheNextSynchronize) {
    TemporaryConfigHome home;
    // A plain file where the folder should be: fails even for root, unlike permission bits.
    writeFile(home.preferencesFolder(), "in the way");

    CFPreferencesSetAppValue(kOnKey, kCFBooleanFalse, app());
    CFPreferencesSetAppValue(kCountriesKey, CFSTR("Euro,"), app());
    EXPECT_FALSE(CFPreferencesAppSynchronize(app()));
    EXPECT_EQ(copyValue("On").get(), kCFBooleanFalse) << "nothing lost in memory";
    EXPECT_EQ(storedText("Countries"), "Euro,");
    EXPECT_FALSE(CFPreferencesAppSynchronize(app())) << "still pending, still failing";

    fs::remove(home.preferencesFolder());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    PlistPtr stored = parseFile(home.preferencesFile(kApp));
    ASSERT_TRUE(stored);
    EXPECT_NE(plist_dict_get_item(stored.get(), "On"), nullptr);
    EXPECT_NE(plist_dict_get_item(stored.get(), "Countries"), nullptr);
}

TEST(CFPreferences, SomethingOtherThanAFileAtItsPathIsNeitherReadNorReplaced) {
    TemporaryConfigHome home;
    fs::create_directories(home.preferencesFolder());
    ASSERT_EQ(mkfifo(home.preferencesFile(kApp).c_str(), 0600), 0);
    EXPECT_FALSE(CFPreferencesAppSynchronize(app())) << "and returns rather than wait for a writer";
    CFPreferencesSetAppValue(kOnKey, kCFBooleanTrue, app());
    EXPECT_FALSE(CFPreferencesAppSynchronize(app()));
    EXPECT_EQ(fs::status(home.preferencesFile(kApp)).type(), fs::file_type::fifo);
    EXPECT_EQ(copyValue("On").get(), kCFBooleanTrue);
}

TEST(CFPreferences, ASymbolicLinkAtTheFilesPathIsFollowedNotReplaced) {
    TemporaryConfigHome home;
    const fs::path elsewhere = home.path() / "synced" / "corvanta.plist";
    writeFile(elsewhere, plistDocument("<key>Countries</key><string>Yen,</string>"));
    fs::create_directories(home.preferencesFolder());
    fs::create_symlink("../synced/corvanta.plist", home.preferencesFile(kApp));

    EXPECT_EQ(storedText("Countries"), "Yen,");
    CFPreferencesSetAppValue(kOnKey, kCFBooleanTrue, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_TRUE(fs::is_symlink(home.preferencesFile(kApp)));
    PlistPtr stored = parseFile(elsewhere);
    ASSERT_TRUE(stored);
    EXPECT_NE(plist_dict_get_item(stored.get(), "On"), nullptr);
    EXPECT_NE(plist_dict_get_item(stored.get(), "Countries"), nullptr);
}

TEST(CFPreferences, ValuesTheFileCannotHoldAreRefusedNotTruncated) {
    TemporaryConfigHome home;
    CFPreferencesSetAppValue(kCountriesKey, CFSTR("Euro,"), app());
    const char withZero[] = "Euro,\0Yen,";
    CFRef<CFStringRef> truncatable(
        CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(withZero),
                                sizeof withZero - 1, kCFStringEncodingUTF8, false));
    ASSERT_TRUE(truncatable);
    CFPreferencesSetAppValue(kCountriesKey, truncatable.get(), app());
    CFPreferencesSetAppValue(CFSTR("Center"), CFNotificationCenterGetDistributedCenter(), app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_EQ(storedText("Countries"), "Euro,");
    EXPECT_FALSE(copyValue("Center"));
}

TEST(CFPreferences, AnApplicationIDThatIsNoFileNameStoresNothing) {
    TemporaryConfigHome home;
    for (CFStringRef id : {CFSTR("../escape"), CFSTR("a/b"), CFSTR(""), CFSTR(".hidden")}) {
        CFPreferencesSetAppValue(kOnKey, kCFBooleanTrue, id);
        EXPECT_EQ(CFPreferencesCopyAppValue(kOnKey, id), nullptr);
        EXPECT_FALSE(CFPreferencesAppSynchronize(id));
    }
    EXPECT_FALSE(fs::exists(home.path() / "escape.plist"));
    EXPECT_FALSE(fs::exists(home.preferencesFolder()));
}

TEST(CFPreferencesLock, GivesUpWhenAnotherHolderKeepsTheLockAndIsFreeAfterwards) {
    TemporaryConfigHome home;
    const std::string lockPath = (home.path() / "domain.plist.lock").string();
    auto held = CFPreferencesLock::acquire(lockPath, std::chrono::milliseconds(100));
    ASSERT_TRUE(held);
    // flock locks belong to the open file, so a second open in this process contends too.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CFPreferencesLock::acquire(lockPath, std::chrono::milliseconds(100)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    held.reset();
    EXPECT_TRUE(CFPreferencesLock::acquire(lockPath, std::chrono::milliseconds(100)));
}

namespace {

std::string nestedArrays(std::size_t depth) {
    std::string arrays;
    for (std::size_t i = 0; i < depth; ++i)
        arrays += "<array>";
    for (std::size_t i = 0; i < depth; ++i)
        arrays += "</array>";
    return arrays;
}

void appendBigEndian(std::string& out, std::uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift & 0xFF));
}

// A binary property list whose root dictionary holds "K": `depth` nested arrays, each holding
// the next one `twice` or once, the innermost one empty; with `loop`, the innermost array holds
// the outermost one instead.
std::string binaryNestedArrays(std::uint64_t depth, bool loop = false, bool twice = false) {
    std::string data = "bplist00";
    std::vector<std::uint64_t> offsets;
    offsets.push_back(data.size()); // 0: the root, {1: 2}
    data += '\xD1';
    appendBigEndian(data, 1, 4);
    appendBigEndian(data, 2, 4);
    offsets.push_back(data.size()); // 1: "K"
    data += "\x51K";
    for (std::uint64_t level = 0; level < depth; ++level) { // 2 ..: the arrays
        offsets.push_back(data.size());
        const bool innermost = level + 1 == depth;
        if (innermost && !loop) {
            data += '\xA0';
        } else {
            data += twice ? '\xA2' : '\xA1';
            for (int reference = 0; reference < (twice ? 2 : 1); ++reference)
                appendBigEndian(data, innermost ? 2 : offsets.size(), 4); // the next object
        }
    }
    const std::uint64_t table = data.size();
    for (const std::uint64_t offset : offsets)
        appendBigEndian(data, offset, 4);
    data.append(6, '\0');
    data += '\x04';
    data += '\x04';
    appendBigEndian(data, offsets.size(), 8);
    appendBigEndian(data, 0, 8);
    appendBigEndian(data, table, 8);
    return data;
}

} // namespace

TEST(PropertyListNesting, CountsContainersOfXmlAndBinaryListsWithoutBeingFooled) {
    EXPECT_TRUE(PropertyListNestingWithin(plistDocument(nestedArrays(200)), 256));
    EXPECT_FALSE(PropertyListNestingWithin(plistDocument(nestedArrays(300)), 256));
    EXPECT_TRUE(PropertyListNestingWithin(plistDocument("<array/><array />" + nestedArrays(3)), 4))
        << "empty elements open nothing";
    EXPECT_FALSE(PropertyListNestingWithin("<dict><array><!-- </array> --><array>", 2))
        << "a closing inside a comment closes nothing";
    EXPECT_FALSE(PropertyListNestingWithin("<dict><dict\n><dict>", 2));

    EXPECT_TRUE(PropertyListNestingWithin(binaryNestedArrays(100), 256));
    EXPECT_FALSE(PropertyListNestingWithin(binaryNestedArrays(300), 256));
    EXPECT_FALSE(PropertyListNestingWithin(binaryNestedArrays(5, true), 256)) << "a cycle";
    EXPECT_TRUE(PropertyListNestingWithin(binaryNestedArrays(10, false, true), 256))
        << "shared children that unfold into a thousand nodes";
    EXPECT_FALSE(PropertyListNestingWithin(binaryNestedArrays(60, false, true), 256))
        << "a few hundred bytes that would unfold into 2^60 nodes";
    // libplist aborts on a key with a zero character (found by the preference file fuzz target).
    std::string zeroKey = binaryNestedArrays(1);
    zeroKey[zeroKey.find("\x51K") + 1] = '\0';
    EXPECT_FALSE(PropertyListNestingWithin(zeroKey, 256));
    std::string truncated = binaryNestedArrays(5);
    truncated.erase(20, 10);
    EXPECT_FALSE(PropertyListNestingWithin(truncated, 256));
}

// A file whose values nest deeper than any real settings is damaged: read as empty, kept aside
// when replaced, and never handed to the recursive parts of libplist.
TEST(CFPreferences, AFileNestedTooDeeplyCountsAsCorruptXml) {
    TemporaryConfigHome home;
    const fs::path file = home.preferencesFile(kApp);
    const std::string deep =
        plistDocument("<key>On</key><false/><key>Countries</key>" + nestedArrays(200000));
    writeFile(file, deep);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_FALSE(copyValue("On")) << "the defaults show";
    EXPECT_FALSE(copyValue("Countries"));

    CFPreferencesSetAppValue(CFSTR("On"), kCFBooleanTrue, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    ASSERT_EQ(corruptCopies(file).size(), 1u);
    EXPECT_EQ(readFile(corruptCopies(file).front()), deep);
    EXPECT_EQ(copyValue("On").get(), kCFBooleanTrue);
}

TEST(CFPreferences, AFileNestedTooDeeplyCountsAsCorruptBinary) {
    TemporaryConfigHome home;
    writeFile(home.preferencesFile(kApp), binaryNestedArrays(200000));
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_FALSE(copyValue("K"));

    writeFile(home.preferencesFile(kApp), binaryNestedArrays(10, true));
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_FALSE(copyValue("K")) << "a reference cycle is damage too";

    writeFile(home.preferencesFile(kApp), binaryNestedArrays(60, false, true));
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_FALSE(copyValue("K")) << "so is a file that would unfold past all bounds";

    writeFile(home.preferencesFile(kApp), binaryNestedArrays(10));
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_TRUE(copyValue("K")) << "real nesting still reads";
}

TEST(CFPreferences, EachDamageKeepsACopyOfItsOwnAndOnlyTheNewestFewStay) {
    TemporaryConfigHome home;
    const fs::path file = home.preferencesFile(kApp);
    for (int damage = 0; damage < 7; ++damage) {
        writeFile(file, "damage " + std::to_string(damage));
        CFPreferencesSetAppValue(CFSTR("On"), kCFBooleanTrue, app());
        ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    }
    const std::vector<fs::path> copies = corruptCopies(file);
    ASSERT_EQ(copies.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(readFile(copies[static_cast<std::size_t>(i)]), "damage " + std::to_string(i + 2));
}

TEST(CFPreferences, TheLockFileIsNeverOpenedThroughASymbolicLink) {
    TemporaryConfigHome home;
    const fs::path elsewhere = home.path() / "elsewhere";
    fs::create_directories(home.preferencesFolder());
    fs::create_symlink(elsewhere, home.preferencesFile(kApp).string() + ".lock");
    CFPreferencesSetAppValue(CFSTR("On"), kCFBooleanTrue, app());
    EXPECT_FALSE(CFPreferencesAppSynchronize(app()));
    EXPECT_FALSE(fs::exists(elsewhere)) << "nothing created at the link's target";
}

namespace {

struct FailureCase {
    const char* name;
    void (*arrange)(const TemporaryConfigHome&);
    const char* reasonPart;
};

const FailureCase kFailureCases[] = {
    {"the configuration folder is a file",
     [](const TemporaryConfigHome& home) {
         fs::remove_all(home.path());
         writeFile(home.path(), "a file");
     },
     "Not a directory"},
    {"the lock is a folder",
     [](const TemporaryConfigHome& home) {
         fs::create_directories(home.preferencesFile(kApp).string() + ".lock");
     },
     "Is a directory"},
    {"the file is a symbolic link loop",
     [](const TemporaryConfigHome& home) {
         fs::create_directories(home.preferencesFolder());
         fs::create_symlink(home.preferencesFile(kApp), home.preferencesFile(kApp));
     },
     "Too many levels of symbolic links"},
};

} // namespace

TEST(CFPreferences, AFailedSynchronisationIsLoggedAndToldToTheObserverWithItsReason) {
    for (const FailureCase& failure : kFailureCases) {
        SCOPED_TRACE(failure.name);
        TemporaryConfigHome home;
        failure.arrange(home);
        std::vector<std::string> told;
        CFPreferencesSetFailureObserver([&told](const std::string& id, const std::string& why) {
            told.push_back(id + ": " + why);
        });
        CFPreferencesSetAppValue(CFSTR("On"), kCFBooleanTrue, app());
        LogCapture log;
        EXPECT_FALSE(CFPreferencesAppSynchronize(app()));
        const std::vector<std::string> lines = log.lines();
        CFPreferencesSetFailureObserver({});
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(lines[0].starts_with("CFPreferences: ")) << lines[0];
        EXPECT_NE(lines[0].find(failure.reasonPart), std::string::npos) << lines[0];
        ASSERT_EQ(told.size(), 1u);
        EXPECT_TRUE(told[0].starts_with(std::string(kApp) + ": ")) << told[0];
        EXPECT_NE(told[0].find(failure.reasonPart), std::string::npos) << told[0];
    }
}

TEST(CFPreferences, ABinaryFileWithAZeroInAKeyCountsAsCorrupt) {
    TemporaryConfigHome home;
    std::string zeroKey = binaryNestedArrays(1);
    zeroKey[zeroKey.find("\x51K") + 1] = '\0';
    writeFile(home.preferencesFile(kApp), zeroKey);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app())) << "read as empty, not aborted";
    CFPreferencesSetAppValue(CFSTR("On"), kCFBooleanTrue, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    EXPECT_EQ(corruptCopies(home.preferencesFile(kApp)).size(), 1u);
}
