// What a restore would change, shown before it happens: the list of changes on its own, and the
// Yes/No confirmation of a load or restore whose "Show changes..." button opens that list. The
// list is made only when asked for; run_dialog runs it modally (the operator's prompts). UI
// thread.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigurationPrompts.h"

namespace mav {

inline constexpr int kShowChangesButtonId = 1460;
inline constexpr int kChangesTextId = 1461;

// A read-only view of the lines of a comparison, and new lines for it.
QPlainTextEdit* make_changes_view(const std::vector<std::string>& lines);
void set_changes(QPlainTextEdit& view, const std::vector<std::string>& lines);

std::unique_ptr<QDialog> make_changes_dialog(const std::vector<std::string>& lines,
                                             QWidget* parent);

// Accepted for Yes (id 6), rejected for No (id 7); "Show changes..." keeps the question open.
// Enter answers No when no_is_default, else Yes.
std::unique_ptr<QDialog> make_changes_confirmation(
    const MessageBoxRequest& box, const Changes& changes, QWidget* parent,
    const std::function<void(QDialog& changes_dialog)>& run_dialog, bool no_is_default);

}  // namespace mav
