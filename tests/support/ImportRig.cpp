#include "ImportRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <system_error>

#include "FileBytes.h"
#include "TestDatabase.h"
#include "engine/Error.h"
#include "engine/sqlite/SqliteEngine.h"

namespace testsupport {

namespace fs = std::filesystem;
using dbcopy::FormText;

const std::vector<std::string>& allPasswords() {
    static const std::vector<std::string> passwords = {kPassword, kTargetPassword, kWrongPassword};
    return passwords;
}

ImportRig::ImportRig() : ImportRig(m_ownView) {}

ImportRig::ImportRig(MemoryLogView& view)
    : m_view(view), m_log(m_view, yield), m_run(form, m_log, yield, files, [this] {
          ++m_serverCreations;
          return engine::sqlite::createServer();
      }) {}

void ImportRig::useFiles(const std::string& source, const std::string& target) {
    form.texts = {
        {FormText::txtDatabase, source},      {FormText::txtUsername, kUser},
        {FormText::txtPassword, kPassword},   {FormText::txtDatabaseDest, target},
        {FormText::txtDestUser, kTargetUser}, {FormText::txtDestPassword, kTargetPassword}};
    form.destUserEnabled = false;
    form.deleteValue = 0;
}

void ImportRig::useTargetLogin(const std::string& user, const std::string& password) {
    form.texts[FormText::txtDestUser] = user;
    form.texts[FormText::txtDestPassword] = password;
    form.destUserEnabled = true;
}

std::vector<std::string> ImportRig::run() {
    const std::string source = form.text(FormText::txtDatabase);
    std::error_code error;
    const bool sourceIsFile = fs::is_regular_file(source, error);
    const std::string sourceBefore = sourceIsFile ? fileBytes(source) : "";
    const std::size_t logStart = m_view.text().size();

    m_run.RunImport();

    if (sourceIsFile) {
        EXPECT_EQ(fileBytes(source), sourceBefore) << "the source was changed";
    }
    const std::string log = m_view.text().substr(logStart);
    for (const std::string& password : allPasswords()) {
        EXPECT_EQ(log.find(password), std::string::npos) << "password in the log: " << password;
    }
    return splitLines(log);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        lines.push_back(text.substr(begin, end - begin));
    }
    if (begin < text.size()) lines.push_back(text.substr(begin));
    return lines;
}

std::string errorLine(std::int32_t code) {
    return engine::errorLabel(code);
}

FolderSnapshot snapshot(const fs::path& dir) {
    FolderSnapshot entries;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(entry.path(), dir).string();
        entries.emplace_back(name, entry.is_regular_file() ? fileBytes(entry.path().string())
                                                           : std::string("<Ordner>"));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace testsupport
