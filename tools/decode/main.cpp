// quenlio-decode: decodes a list of serial and part numbers into CSV, one row per line.
#include "tools/decode/batch.hpp"
#include "tools/decode/system_io.hpp"

#include <quenlio/version.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view HelpText =
    "用法: quenlio-decode [--bom] [文件...]\n"
    "\n"
    "逐行解码 iPhone 序列号和型号，以 CSV 写到标准输出。\n"
    "没有文件或文件为 \"-\" 时读取标准输入。\n"
    "\n"
    "输入: 每行一个序列号和一个型号，以逗号、制表符或空格分隔，字段两边的空格忽略。\n"
    "  接受 UTF-8 BOM 和 CRLF 行尾；空行和以 \"#\" 开头的行跳过，不产生输出行。\n"
    "  型号之后的内容忽略；型号和查询界面的输入框一样只取前 7 个字符并转为大写。\n"
    "  超过 4096 字节的行只读前 4096 字节。\n"
    "\n"
    "解码: 12 位序列号转为大写并把字母 O 换成数字 0，检查第 4 位后按 12 位规则解码；\n"
    "  没有型号时，若序列号末四位可以确定型号，就像查询界面一样自动填入。\n"
    "  11 位序列号转为大写，检查第 3 至 5 位后按 11 位规则解码。\n"
    "  其他长度的行备注 \"序列号长度应为11或12位\"，检查不通过的行备注 \"序列号有误\"，\n"
    "  这些行的解码字段为空，解码继续。\n"
    "\n"
    "输出: UTF-8 CSV (RFC 4180)，行尾为 CRLF，第一行为表头\n"
    "  序列号,型号,设备型号,出厂时间,销售地,运营商,产地,是否售后换机,备注\n"
    "  \"序列号\" 列是查询界面显示的序列号 (其他长度时为原样)，\"型号\" 列是实际查询的型号。\n"
    "  文字与查询界面完全相同，保留末尾空格；含逗号、引号、换行或首尾空格的字段加引号。\n"
    "  以 =、+、-、@、制表符或回车开头的字段 (单独一个字符除外) 加引号并在开头加一个单引号\n"
    "  (')，电子表格程序打开时把它显示为文字，不作为公式计算。\n"
    "  无效的 UTF-8 字节输出为 U+FFFD。\n"
    "\n"
    "选项:\n"
    "  --bom       先输出 UTF-8 BOM，便于 Windows 上的电子表格程序识别中文\n"
    "  --help      显示本帮助并退出\n"
    "  --version   显示版本并退出\n"
    "  --          其后的参数都是文件名\n"
    "\n"
    "退出状态: 0 全部行已解码；1 有带备注的行 (标准错误输出一行统计)；\n"
    "  2 用法错误、文件无法读取或输出无法写入。\n";

// Reads and writes in blocks this large; the decoder keeps no more than a line of its own.
constexpr std::size_t ReadBytes = std::size_t{1} << 20;

void PrintError(const std::string& message) {
    const std::string line = "quenlio-decode: " + message + "\n";
    std::fputs(line.c_str(), stderr);
}

class FdSink : public quenlio::batch::Decoder::Sink {
public:
    void Write(std::string_view block) override {
        while (!m_failed && !block.empty()) {
            const long written =
                quenlio::decode::WriteSome(quenlio::decode::StandardOutput, block.data(), block.size());
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                m_failed = true;
                m_error = errno;
                return;
            }
            block.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    bool Failed() const { return m_failed; }
    int Error() const { return m_error; }

private:
    bool m_failed = false;
    int m_error = 0;
};

std::string Quoted(const std::string& name) {
    return "“" + name + "”";
}

} // namespace

int main(int argc, char* argv[]) {
    namespace io = quenlio::decode;
    io::PrepareStandardStreams();
    bool withBom = false;
    bool optionsDone = false;
    std::vector<std::string> names;
    for (const std::string& argument : io::Arguments(argc, argv)) {
        const std::string_view arg = argument;
        if (!optionsDone && arg.size() > 1 && arg.front() == '-') {
            if (arg == "--") {
                optionsDone = true;
            } else if (arg == "--help") {
                std::fwrite(HelpText.data(), 1, HelpText.size(), stdout);
                return 0;
            } else if (arg == "--version") {
                const std::string line = std::string("quenlio-decode ") + quenlio::Version + "\n";
                std::fputs(line.c_str(), stdout);
                return 0;
            } else if (arg == "--bom") {
                withBom = true;
            } else {
                PrintError("未知选项 " + Quoted(std::string(arg)) + "，用 --help 查看用法");
                return 2;
            }
            continue;
        }
        names.emplace_back(arg);
    }
    if (names.empty())
        names.emplace_back("-");

    // Every file is tried before anything is written, so a wrong name costs no output. Each is
    // opened again only when its turn comes and closed after it, so any number of files can be
    // given: a thousand open at once would pass the system's limit.
    const auto cannotRead = [](const std::string& name) {
        PrintError("无法读取文件 " + Quoted(name) + ": " + std::strerror(errno));
    };
    for (const std::string& name : names) {
        if (name == "-")
            continue;
        const int fd = io::OpenForReading(name);
        if (fd < 0) {
            cannotRead(name);
            return 2;
        }
        io::Close(fd);
    }

    FdSink sink;
    quenlio::batch::Decoder decoder(sink, withBom);
    std::vector<char> buffer(ReadBytes);
    for (const std::string& name : names) {
        const bool standardInput = name == "-";
        const int fd = standardInput ? io::StandardInput : io::OpenForReading(name);
        if (fd < 0) { // gone since it was tried: what came before it is written, then the error
            cannotRead(name);
            decoder.Flush();
            return 2;
        }
        decoder.BeginInput();
        for (;;) {
            const long got = io::ReadSome(fd, buffer.data(), buffer.size());
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                const std::string what = standardInput ? std::string("标准输入") : "文件 " + Quoted(name);
                PrintError("无法读取" + what + ": " + std::strerror(errno));
                decoder.Flush();
                return 2;
            }
            if (got == 0)
                break;
            decoder.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
            if (sink.Failed())
                break;
        }
        decoder.EndInput();
        if (!standardInput)
            io::Close(fd);
        if (sink.Failed())
            break;
    }
    decoder.Flush();
    if (sink.Failed()) {
        PrintError(std::string("无法写入输出: ") + std::strerror(sink.Error()));
        return 2;
    }

    const std::size_t rows = decoder.Rows();
    const std::size_t withNotes = decoder.RowsWithNotes();
    if (withNotes == 0)
        return 0;
    PrintError("共 " + std::to_string(rows) + " 行，已解码 " + std::to_string(rows - withNotes) +
               " 行，有备注 " + std::to_string(withNotes) + " 行");
    return 1;
}
