// Runs the built quenlio-decode as a user would, through the shell.
#include "quenlio/version.hpp"
#include "tools/decode/batch.hpp"
#include "tests/decode/csv_reader.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

namespace quenlio::batch {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int Status = -1;
    std::string Out, Err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quenlio-decode-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& name, const std::string& content) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    static std::string Slurp(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Runs the program in the scratch folder with `args` (shell words) and `input` on
    // standard input; `out` may name another place for standard output, `before` is a shell
    // command run first.
    Outcome Run(const std::string& args, const std::string& input = "", const std::string& out = "out.csv",
                const std::string& before = "true") {
        Write("stdin.txt", input);
        const std::string command = "cd '" + m_dir.string() + "' && " + before +
                                    " && '" QUENLIO_DECODE_PATH "' " + args + " < stdin.txt > " + out +
                                    " 2> err.txt";
        const int raw = std::system(command.c_str());
        Outcome outcome;
        outcome.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.Out = out == "out.csv" ? Slurp(m_dir / "out.csv") : "";
        outcome.Err = Slurp(m_dir / "err.txt");
        return outcome;
    }

    fs::path m_dir;
};

std::vector<CsvRecord> Records(const std::string& csv) {
    const auto records = ReadCsv(csv);
    EXPECT_TRUE(records.has_value()) << csv;
    return records.value_or(std::vector<CsvRecord>{});
}

TEST_F(CliTest, AllRowsDecodedExitsZeroAndSaysNothing) {
    const Outcome run = Run("", "DNPH7ABCXYZ0,MD239CH\n5K923ABC8M9 MB496LL\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    const auto records = Records(run.Out);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1][2], "iPhone 4S 16GB 白色(GSM)");
    EXPECT_EQ(records[2][2], "iPhone 3GS 32GB 黑色");
}

TEST_F(CliTest, RowsWithNotesExitOneWithASummaryLine) {
    const Outcome run = Run("-", "DNPH7ABCXYZ0,MD239CH\nSHORT,MD239CH\n# skipped\nDNPL7ABCXYZ0,MD239CH\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quenlio-decode: 共 3 行，已解码 1 行，有备注 2 行\n");
    const auto records = Records(run.Out);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[2][8], "序列号长度应为11或12位");
    EXPECT_EQ(records[3][8], "序列号有误");
}

TEST_F(CliTest, FieldsASpreadsheetWouldComputeAreWrittenAsText) {
    // Excel and WPS open what --bom writes: no field of it may run there as a formula.
    const Outcome run =
        Run("--bom", "=1+1\nDNPH7ABCXYZ0,@SUM(1)\n+8613800138000 -2+3\nF1XK1ABCXYZW,MD128J\n");
    EXPECT_EQ(run.Status, 1);
    const std::string expected =
        std::string(Utf8Bom) + std::string(CsvHeader) + "\"'=1+1\",,,,,,,,序列号长度应为11或12位\r\n" +
        "DNPH7ABCXYZ0,\"'@SUM(1)\",,2012年02月12日-02月18日,,,中国-成都富士康,否(供参考),\r\n" +
        "\"'+8613800138000\",\"'-2+3\",,,,,,,序列号长度应为11或12位\r\n" +
        // The tables' lone "-" for "no carrier" computes nothing and stays as it is.
        "F1XK1ABCXYZW,MD128J,iPhone 4 8GB "
        "黑色(GSM),2013年01月01日-01月05日,日本,-,中国-郑州富士康,否(供参考),\r\n";
    EXPECT_EQ(run.Out, expected);
}

TEST_F(CliTest, EmptyInputWritesTheHeader) {
    const Outcome run = Run("");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, CsvHeader);
}

TEST_F(CliTest, BomOptionWritesTheMarkFirst) {
    const Outcome run = Run("--bom", "DNPH7ABCXYZ0,MD239CH\n");
    EXPECT_EQ(run.Status, 0);
    ASSERT_TRUE(run.Out.starts_with(Utf8Bom));
    EXPECT_EQ(Records(run.Out.substr(Utf8Bom.size())).size(), 2u);
}

TEST_F(CliTest, FilesAndStandardInputAreReadInOrder) {
    Write("a.txt", std::string(Utf8Bom) + "DNPH7ABCXYZ0,MD239CH\r\n");
    Write("-x", "F1XK1ABCXYZW,MD128J");
    const Outcome run = Run("a.txt - -- -x", "5K923ABC8M9,MB496LL\n");
    EXPECT_EQ(run.Status, 0) << run.Err;
    const auto records = Records(run.Out);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1][0], "DNPH7ABCXYZ0");
    EXPECT_EQ(records[2][0], "5K923ABC8M9");
    EXPECT_EQ(records[3][0], "F1XK1ABCXYZW");
}

TEST_F(CliTest, ReadsMoreFilesThanMayBeOpenAtOnce) {
    // At most 32 open files, and 100 of them named: each must be closed before the next is opened.
    std::string names;
    for (int i = 0; i < 100; ++i) {
        const std::string name = "list" + std::to_string(i) + ".txt";
        Write(name, i % 2 ? "DNPH7ABCXYZ0,MD239CH\n" : "5K923ABC8M9,MB496LL\n");
        names += " " + name;
    }
    const Outcome run = Run(names, "", "out.csv", "ulimit -n 32");
    EXPECT_EQ(run.Status, 0) << run.Err;
    const auto records = Records(run.Out);
    ASSERT_EQ(records.size(), 101u);
    EXPECT_EQ(records[1][0], "5K923ABC8M9");
    EXPECT_EQ(records[100][0], "DNPH7ABCXYZ0");
}

struct UsageCase {
    const char* Name;
    std::string Args;
    std::string InMessage; // a piece the error message must hold
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const UsageCase& c, std::ostream* out) {
    *out << c.Name;
}

class CliUsageTest : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsageTest, FailsWithStatusTwoBeforeWritingAnything) {
    Write("good.txt", "DNPH7ABCXYZ0,MD239CH\n");
    std::filesystem::create_directory(m_dir / "folder");
    const Outcome run = Run(GetParam().Args);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find(GetParam().InMessage), std::string::npos) << run.Err;
}

INSTANTIATE_TEST_SUITE_P(Errors, CliUsageTest,
                         ::testing::Values(UsageCase{"UnknownOption", "-x", "“-x”"},
                                           UsageCase{"UnknownLongOption", "--csv good.txt", "“--csv”"},
                                           UsageCase{"MissingFile", "good.txt missing.txt", "“missing.txt”"},
                                           UsageCase{"Folder", "folder", "“folder”"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CliTest, UnwritableOutputIsAnError) {
    const Outcome run = Run("", "DNPH7ABCXYZ0,MD239CH\n", "/dev/full");
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("无法写入输出"), std::string::npos) << run.Err;
}

TEST_F(CliTest, HelpAndVersion) {
    const Outcome help = Run("--help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Out.starts_with("用法: quenlio-decode")) << help.Out;
    EXPECT_NE(help.Out.find("序列号,型号,设备型号,出厂时间,销售地,运营商,产地,是否售后换机,备注"),
              std::string::npos);
    EXPECT_NE(help.Out.find("以 =、+、-、@、制表符或回车开头"), std::string::npos);
    const Outcome version = Run("--version");
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, std::string("quenlio-decode ") + quenlio::Version + "\n");
}

TEST_F(CliTest, MemoryDoesNotGrowWithTheInput) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine, so peak memory grows by design";
#endif
    const auto peakKib = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return usage.ru_maxrss;
    };
    std::string rows;
    for (int i = 0; i < 100000; ++i)
        rows += "DNPH7ABCXYZ0,MD239CH\n";
    Write("small.txt", rows);
    {
        std::ofstream big(m_dir / "big.txt", std::ios::binary);
        for (int i = 0; i < 10; ++i)
            big << rows;
    }
    ASSERT_EQ(Run("small.txt", "", "/dev/null").Status, 0);
    const long small = peakKib();
    ASSERT_EQ(Run("big.txt", "", "/dev/null").Status, 0);
    const long big = peakKib();
    // 19 MiB more input may not cost more than a few MiB.
    EXPECT_LT(big - small, 4096) << small << " KiB, then " << big << " KiB";
}

} // namespace
} // namespace quenlio::batch
