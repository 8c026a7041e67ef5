#pragma once

#include <string>

namespace dbcopy {

// The window's fields that an import run reads, named after their controls.
enum class FormText {
    txtDatabase,
    txtUsername,
    txtPassword,
    txtDatabaseDest,
    txtDestUser,
    txtDestPassword
};

// The main window as the import run sees it. The run reads each value at the moment a step
// needs it, never caching it.
class ImportForm {
public:
    virtual ~ImportForm() = default;

    virtual std::string text(FormText field) const = 0;  // UTF-8
    virtual bool isDestUserEnabled() const = 0;          // txtDestUser's enabled state
    virtual int deleteOption() const = 0;                // chkDelete's value; on when non-zero
    virtual void setDeleteOption(int value) = 0;
};

}  // namespace dbcopy
