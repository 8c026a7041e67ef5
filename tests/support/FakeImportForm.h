#pragma once

#include <map>
#include <string>
#include <vector>

#include "copy/ImportForm.h"

namespace testsupport {

// The window's fields as plain values; records every write of the delete option.
class FakeImportForm : public dbcopy::ImportForm {
public:
    std::string text(dbcopy::FormText field) const override {
        const auto found = texts.find(field);
        return found == texts.end() ? std::string() : found->second;
    }
    bool isDestUserEnabled() const override { return destUserEnabled; }
    int deleteOption() const override { return deleteValue; }
    void setDeleteOption(int value) override {
        deleteValue = value;
        deleteWrites.push_back(value);
    }

    std::map<dbcopy::FormText, std::string> texts;
    bool destUserEnabled = false;
    int deleteValue = 0;
    std::vector<int> deleteWrites;
};

}  // namespace testsupport
