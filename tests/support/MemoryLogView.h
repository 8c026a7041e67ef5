#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "log/LogView.h"

namespace testsupport {

// A log pane in memory: the text, the caret and the selection, and an injectable failure.
class MemoryLogView : public dbcopy::LogView {
public:
    void append(std::string_view text) override {
        ++m_appends;
        const bool failHere =
            m_appends == m_failingAppend ||
            (m_failOnPrefix && text.substr(0, m_failingPrefix.size()) == m_failingPrefix);
        if (failHere) {
            m_failOnPrefix = false;
            throw std::runtime_error("log pane refused the text");
        }
        m_text.append(text);
    }

    void moveCaretToEnd() override {
        m_selectionStart = m_text.size();
        m_selectionLength = 0;
    }

    // Makes the nth append from now on (1 = the next one) throw std::runtime_error.
    void failAtAppend(std::size_t n) { m_failingAppend = m_appends + n; }

    // Makes the next append whose text starts with prefix throw std::runtime_error, once.
    void failOnceAt(std::string prefix) {
        m_failingPrefix = std::move(prefix);
        m_failOnPrefix = true;
    }

    // What a user selected in the pane before the next line arrives.
    void select(std::size_t start, std::size_t length) {
        m_selectionStart = start;
        m_selectionLength = length;
    }

    const std::string& text() const { return m_text; }
    std::size_t selectionStart() const { return m_selectionStart; }
    std::size_t selectionLength() const { return m_selectionLength; }

    // The text cut at every CR LF; the empty rest after the final CR LF is not a line.
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::size_t begin = 0;
        for (std::size_t end; (end = m_text.find("\r\n", begin)) != std::string::npos;
             begin = end + 2) {
            result.push_back(m_text.substr(begin, end - begin));
        }
        if (begin < m_text.size()) result.push_back(m_text.substr(begin));
        return result;
    }

private:
    std::string m_text;
    std::size_t m_selectionStart = 0;
    std::size_t m_selectionLength = 0;
    std::size_t m_appends = 0;
    std::size_t m_failingAppend = 0;  // 0: never
    std::string m_failingPrefix;
    bool m_failOnPrefix = false;
};

}  // namespace testsupport
