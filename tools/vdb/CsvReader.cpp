#include "vdb/CsvReader.h"

#include <algorithm>
#include <deque>
#include <utility>

#include <csv.h>

#include "vdb/CommandError.h"

namespace vdb {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Length of the UTF-8 sequence that starts at text[at], or 0 when it is not a valid one
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

// Throws CommandError for the first byte of text that is not valid UTF-8.
void requireUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        if (length == 0) {
            const auto line = 1 + std::count(text.begin(), text.begin() + at, '\n');
            throw CommandError("Zeile " + std::to_string(line) + ": kein gültiges UTF-8");
        }
        at += length;
    }
}

int noSpaces(unsigned char) {
    return 0;
}

bool isBlankLine(std::string_view line) {
    return line == "\n" || line == "\r\n";
}

// Drives libcsv one physical line at a time, so that each record knows the line it begins on.
// libcsv's callbacks only collect; the records are handed over between two calls into
// libcsv, so that no exception of the handler ever crosses the C library.
class Parser {
public:
    explicit Parser(const CsvReader::RecordHandler& handler) : m_handler(handler) {
        csv_init(&m_parser, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL);
        csv_set_space_func(&m_parser, noSpaces);
    }
    ~Parser() { csv_free(&m_parser); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    void feedLine(std::string_view line) {
        ++m_line;
        if (m_awaitingRecord && isBlankLine(line)) {
            if (m_columns == 1) m_done.emplace_back(m_line, CsvReader::Record{std::nullopt});
        } else {
            if (m_awaitingRecord) beginRecord();
            if (csv_parse(&m_parser, line.data(), line.size(), onCell, onRecordEnd, this) !=
                line.size()) {
                fail(m_line, "Anführungszeichen an falscher Stelle");
            }
        }
        handOver();
    }

    void finish() {
        if (csv_fini(&m_parser, onCell, onRecordEnd, this) != 0) {
            fail(m_recordLine, "Anführungszeichen nicht geschlossen");
        }
        handOver();
    }

private:
    static void onCell(void* cell, std::size_t length, void* self) {
        auto& parser = *static_cast<Parser*>(self);
        if (parser.m_awaitingRecord) parser.beginRecord();  // after a lone CR inside a line
        if (cell) {
            parser.m_record.emplace_back(std::string(static_cast<const char*>(cell), length));
        } else {
            parser.m_record.emplace_back(std::nullopt);
        }
    }

    static void onRecordEnd(int, void* self) {
        auto& parser = *static_cast<Parser*>(self);
        if (parser.m_columns == 0) parser.m_columns = parser.m_record.size();
        parser.m_done.emplace_back(parser.m_recordLine, std::move(parser.m_record));
        parser.m_record.clear();
        parser.m_awaitingRecord = true;
    }

    void beginRecord() {
        m_recordLine = m_line;
        m_awaitingRecord = false;
    }

    void handOver() {
        while (!m_done.empty()) {
            auto [line, record] = std::move(m_done.front());
            m_done.pop_front();
            m_handler(line, record);
        }
    }

    // Throws for the parser's error; parseFault describes a parse error in the input.
    [[noreturn]] void fail(std::int64_t line, const std::string& parseFault) {
        handOver();
        const int error = csv_error(&m_parser);
        const std::string fault = error == CSV_EPARSE   ? parseFault
                                  : error == CSV_ENOMEM ? "zu wenig Arbeitsspeicher"
                                                        : "Zelle zu groß";
        throw CommandError("Zeile " + std::to_string(line) + ": fehlerhaftes CSV (" + fault + ")");
    }

    const CsvReader::RecordHandler& m_handler;
    csv_parser m_parser{};
    std::int64_t m_line = 0;        // the physical line being parsed
    std::int64_t m_recordLine = 0;  // the line the current record began on
    bool m_awaitingRecord = true;   // between records: the next non-blank line begins one
    std::size_t m_columns = 0;      // cells of the first record; 0 before it
    CsvReader::Record m_record;     // cells of the current record so far
    std::deque<std::pair<std::int64_t, CsvReader::Record>> m_done;  // complete, not handed over
};

}  // namespace

void CsvReader::read(std::string_view text, const RecordHandler& handler) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    requireUtf8(text);
    Parser parser(handler);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        parser.feedLine(text.substr(0, end));
        text.remove_prefix(end);
    }
    parser.finish();
}

}  // namespace vdb
