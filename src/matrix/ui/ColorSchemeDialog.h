// "Set Color Scheme": six scroll bars for the background and grid-line colours, the preset and
// random schemes, and OK. Every change reaches the store (and so the matrix and the preferences
// file) at once; nothing is undone on closing. UI thread.
#pragma once

#include <QDialog>
#include <QScrollBar>
#include <array>

#include "frontend/CommandRegistry.h"
#include "matrix/ColorScheme.h"
#include "platform/qt/OperatorPrompts.h"

namespace mav {

class ColorSchemeDialog final : public QDialog {
  Q_OBJECT

 public:
  ColorSchemeDialog(ColorSchemeStore& store, QWidget* parent);

 private:
  void add_bars(QLayout& layout, const char* title, int first_component);
  void apply(const ColorScheme& scheme);

  ColorSchemeStore& store_;
  ColorScheme scheme_;
  std::array<QScrollBar*, kColorComponents> bars_{};
};

// "Change Colors..." opens the dialog.
void register_color_scheme_command(CommandRegistry& registry, ColorSchemeStore& store,
                                   OperatorPrompts& prompts, QWidget& owner);

}  // namespace mav
