#include "platform/PrivateProfile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace rizorivu {
namespace {

namespace fs = std::filesystem;

// The cache trusts a file's identity once it was read this long after its last change.
constexpr auto kSettleWait = std::chrono::milliseconds(200);

std::string utf16leWithBom(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

class PrivateProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "rizorivu-profile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        file_ = dir_ / "test.ini";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Rewrites the file in place: same inode, truncated and written again.
    static void write(const fs::path& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }

    std::string get(std::string_view section, std::string_view key,
                    std::string_view defaultValue = "<default>", std::size_t bufferSize = 256) {
        return profile_.getString(file_, section, key, defaultValue, bufferSize);
    }

    fs::path dir_;
    fs::path file_;
    CodePage ansi_;
    PrivateProfile profile_{ansi_};
};

TEST_F(PrivateProfileTest, ResultIsCutToBufferSizeLessOne) {
    write(file_, "\xEF\xBB\xBF[s]\nk=héllo wörld\nastral=😀😀\n");
    struct Case {
        const char* key;
        const char* defaultValue;
        std::size_t bufferSize;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"k", "", 0, ""},
        {"k", "", 1, ""},
        {"k", "", 2, "h"},
        {"k", "", 3, "hé"},
        {"k", "", 11, "héllo wörl"},
        {"k", "", 12, "héllo wörld"},
        {"k", "", 1000, "héllo wörld"},
        {"astral", "", 2, "😀"},
        // Windows copies the default into the same buffer.
        {"absent", "défaut", 0, ""},
        {"absent", "défaut", 1, ""},
        {"absent", "défaut", 3, "dé"},
        {"absent", "défaut", 100, "défaut"},
        // ... after stripping its trailing blanks.
        {"absent", "x  ", 100, "x"},
        {"absent", "  ", 100, ""},
        {"absent", " x", 100, " x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(get("s", c.key, c.defaultValue, c.bufferSize), c.expected)
            << c.key << " in " << c.bufferSize;
    }
}

TEST_F(PrivateProfileTest, AbsentFileSectionOrKeyGivesTheDefault) {
    write(file_, "[s]\nk=v\n[empty]\n");
    EXPECT_EQ(get("s", "k"), "v");
    EXPECT_EQ(get("s", "other"), "<default>");
    EXPECT_EQ(get("empty", "k"), "<default>");
    EXPECT_EQ(get("other", "k"), "<default>");
    EXPECT_EQ(profile_.getString(dir_ / "missing.ini", "s", "k", "dflt", 256), "dflt");
    EXPECT_EQ(profile_.getString(dir_ / "no" / "such.ini", "s", "k", "dflt", 256), "dflt");
    EXPECT_EQ(profile_.getInt(dir_ / "missing.ini", "s", "k", 7), 7);
}

// A value reads as Windows reads a number: blanks (also inside quotes), one optional sign,
// decimal digits up to the first other character, wrapping around at 32 bits.
TEST_F(PrivateProfileTest, GetIntReadsASignedDecimalNumber) {
    struct Case {
        const char* value;
        int expected;
    };
    const std::vector<Case> cases = {
        {"42", 42},
        {"0", 0},
        {"12abc", 12},
        {"abc", 0},
        {"  42  ", 42},
        {"1 2", 1},
        {"-5", -5},
        {"+5", 5},
        {"-0", 0},
        {"-", 0},
        {"+", 0},
        {"--5", 0},
        {"+-5", 0},
        {"- 5", 0},
        {"5-", 5},
        {"0x10", 0},
        {"\"7\"", 7},
        {"' 9'", 9},
        {"\" -7\"", -7},
        {"\"\t+8\"", 8},
        {"' x9'", 0},
        {"\"\x1A"
         "6\"",
         6},
        {"4294967295", -1},
        {"4294967296", 0},
        {"4294967297", 1},
        {"-4294967297", -1},
        {"-4294967295", 1},
        {"2147483648", INT_MIN},
        {"-2147483649", INT_MAX},
        {"99999999999999999999", 1661992959},  // 10^20 - 1 modulo 2^32
    };
    std::string file = "[n]\nempty=\nquotedEmpty=\"\"\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        file += "k" + std::to_string(i) + "=" + cases[i].value + "\n";
    }
    write(file_, file);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(profile_.getInt(file_, "N", "k" + std::to_string(i), -3), cases[i].expected)
            << cases[i].value;
    }
    EXPECT_EQ(profile_.getInt(file_, "n", "absent", -3), -3);
    EXPECT_EQ(profile_.getInt(file_, "n", "empty", -3), -3);
    EXPECT_EQ(profile_.getInt(file_, "n", "quotedEmpty", -3), -3);
}

TEST_F(PrivateProfileTest, ReadsUtf16LanguageFile) {
    write(file_, utf16leWithBom(u"[Deutsch]\r\nIDS_OK=Übernehmen\r\nIDS_N=12\r\n"
                                u"[日本語]\r\nIDS_OK=適用\r\n"));
    EXPECT_EQ(get("deutsch", "ids_ok"), "Übernehmen");
    EXPECT_EQ(get("日本語", "IDS_OK"), "適用");
    EXPECT_EQ(profile_.getInt(file_, "Deutsch", "IDS_N", 0), 12);
}

TEST_F(PrivateProfileTest, AnsiFileInTheCodePage) {
    write(file_, "[R\xE9seau]\nNom=caf\xE9\n");
    EXPECT_EQ(get("RÉSEAU", "nom"), "café");
}

// Rewrites of equal size follow each other faster than file timestamps advance; each must
// still be seen.
TEST_F(PrivateProfileTest, InPlaceRewriteOfSameSizeIsSeenAtOnce) {
    for (int i = 1000; i < 1030; ++i) {
        write(file_, "[s]\nk=" + std::to_string(i) + "\n");
        ASSERT_EQ(get("s", "k"), std::to_string(i));
    }
}

// A rewrite that puts the old modification time back still changes the change time.
TEST_F(PrivateProfileTest, RewriteWithRestoredModificationTimeIsSeen) {
    write(file_, "[s]\nk=old\n");
    std::this_thread::sleep_for(kSettleWait);
    ASSERT_EQ(get("s", "k"), "old");
    struct stat before {};
    ASSERT_EQ(::stat(file_.c_str(), &before), 0);

    write(file_, "[s]\nk=new\n");
    const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file_.c_str(), times, 0), 0);
    EXPECT_EQ(get("s", "k"), "new");
}

TEST_F(PrivateProfileTest, SettledFileEditedLaterIsSeen) {
    write(file_, "[s]\nk=1111\n");
    std::this_thread::sleep_for(kSettleWait);
    ASSERT_EQ(get("s", "k"), "1111");
    ASSERT_EQ(get("s", "k"), "1111");
    write(file_, "[s]\nk=2222\n");
    EXPECT_EQ(get("s", "k"), "2222");
    write(file_, "[s]\nk=33333\n");
    EXPECT_EQ(get("s", "k"), "33333");
}

TEST_F(PrivateProfileTest, ReplacedByRenameIsSeen) {
    write(file_, "[s]\nk=first\n");
    std::this_thread::sleep_for(kSettleWait);
    ASSERT_EQ(get("s", "k"), "first");
    const fs::path other = dir_ / "other.ini";
    write(other, "[s]\nk=other\n");
    fs::rename(other, file_);
    EXPECT_EQ(get("s", "k"), "other");
}

TEST_F(PrivateProfileTest, DeletedAndCreatedAgain) {
    write(file_, "[s]\nk=v\n");
    ASSERT_EQ(get("s", "k"), "v");
    fs::remove(file_);
    EXPECT_EQ(get("s", "k"), "<default>");
    EXPECT_EQ(profile_.getInt(file_, "s", "k", 5), 5);
    write(file_, "[s]\nk=back\n");
    EXPECT_EQ(get("s", "k"), "back");
}

// Something other than a regular file reads as empty; a FIFO must not block the reader.
TEST_F(PrivateProfileTest, NonRegularFilesReadAsEmpty) {
    const fs::path fifo = dir_ / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(profile_.getString(fifo, "s", "k", "dflt", 256), "dflt");
    EXPECT_EQ(profile_.getString(dir_, "s", "k", "dflt", 256), "dflt");
}

TEST_F(PrivateProfileTest, FilesAreCachedSeparately) {
    const fs::path second = dir_ / "second.ini";
    write(file_, "[s]\nk=one\n");
    write(second, "[s]\nk=two\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(profile_.getString(file_, "s", "k", "", 256), "one");
        EXPECT_EQ(profile_.getString(second, "s", "k", "", 256), "two");
    }
}

class PrivateProfileConcurrency : public PrivateProfileTest {};

// Readers run while the file is replaced over and over; each sees one whole version.
TEST_F(PrivateProfileConcurrency, LookupsWhileTheFileIsReplaced) {
    write(file_, "[s]\nk=AAAA\n");
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        const fs::path next = dir_ / "next.ini";
        for (int i = 0; i < 300; ++i) {
            write(next, i % 2 == 0 ? "[s]\nk=BBBBBB\n" : "[s]\nk=AAAA\n");
            fs::rename(next, file_);
        }
        stop = true;
    });
    std::vector<int> bad(4, 0);
    std::vector<std::thread> readers;
    for (std::size_t r = 0; r < bad.size(); ++r) {
        readers.emplace_back([&, r] {
            while (!stop) {
                const std::string v = get("s", "k");
                if (v != "AAAA" && v != "BBBBBB") {
                    ++bad[r];
                }
            }
        });
    }
    writer.join();
    for (auto& t : readers) {
        t.join();
    }
    for (std::size_t r = 0; r < bad.size(); ++r) {
        EXPECT_EQ(bad[r], 0) << "reader " << r;
    }
}

}  // namespace
}  // namespace rizorivu
