#include "matrix/ui/ColorSchemeDialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstdlib>

#include "frontend/MenuIds.h"
#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

// The bars of background red, green, blue and grid red, green, blue.
constexpr std::array<int, kColorComponents> kBarIds = {1382, 1383, 1384, 1385, 1387, 1388};
// "Default", then "1" to "8".
constexpr std::array<int, kColorPresets.size()> kPresetIds = {1361, 1365, 1368, 1371, 1375,
                                                              1377, 1380, 1381, 1389};
constexpr int kMatchBackgroundId = 1379;
constexpr int kRandomId = 1390;
constexpr int kOkId = 1;
constexpr int kPageStep = 40;
constexpr int kPresetsPerRow = 5;

}  // namespace

ColorSchemeDialog::ColorSchemeDialog(ColorSchemeStore& store, QWidget* parent)
    : QDialog(parent), store_(store), scheme_(store.color_scheme()) {
  setObjectName("DLG_COLORS");
  setWindowTitle("Set Color Scheme");
  auto* layout = new QVBoxLayout(this);
  add_bars(*layout, "Background", 0);
  add_bars(*layout, "Grid Lines", 3);

  auto* match = named(new QPushButton("Match Background"), kMatchBackgroundId);
  connect(match, &QPushButton::clicked, this,
          [this] { apply(with_grid_matching_background(scheme_)); });
  layout->addWidget(match);

  auto* presets = new QGroupBox("Presets");
  auto* grid = new QGridLayout(presets);
  for (std::size_t i = 0; i < kColorPresets.size(); ++i) {
    auto* button =
        named(new QPushButton(i == 0 ? QString("Default") : QString::number(i)), kPresetIds[i]);
    connect(button, &QPushButton::clicked, this, [this, i] { apply(kColorPresets[i]); });
    // Two rows: in one the buttons are wider than the smallest screen.
    grid->addWidget(button, static_cast<int>(i) / kPresetsPerRow,
                    static_cast<int>(i) % kPresetsPerRow);
  }
  auto* random = named(new QPushButton("Random"), kRandomId);
  connect(random, &QPushButton::clicked, this,
          [this] { apply(random_color_scheme([] { return std::rand(); })); });
  grid->addWidget(random, 2, 0, 1, kPresetsPerRow);
  layout->addWidget(presets);

  auto* ok = named(new QPushButton("OK"), kOkId);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignRight);
  settle_default_button(*this, *ok);
}

void ColorSchemeDialog::add_bars(QLayout& layout, const char* title, int first_component) {
  auto* group = new QGroupBox(title);
  auto* form = new QFormLayout(group);
  const char* labels[] = {"Red", "Green", "Blue"};
  for (int i = 0; i < 3; ++i) {
    const int index = first_component + i;
    auto* bar = named(new QScrollBar(Qt::Horizontal), kBarIds[static_cast<std::size_t>(index)]);
    bar->setRange(0, 255);
    bar->setPageStep(kPageStep);
    bar->setValue(component(scheme_, index));
    // A dragged thumb changes the colour as it moves, not only where it is let go.
    connect(bar, &QScrollBar::valueChanged, this, [this, index](int value) {
      apply(with_component(scheme_, index, static_cast<std::uint8_t>(value)));
    });
    bars_[static_cast<std::size_t>(index)] = bar;
    form->addRow(labels[i], bar);
  }
  layout.addWidget(group);
}

void ColorSchemeDialog::apply(const ColorScheme& scheme) {
  scheme_ = scheme;
  for (int index = 0; index < kColorComponents; ++index) {
    QScrollBar* bar = bars_[static_cast<std::size_t>(index)];
    const QSignalBlocker quiet(bar);
    bar->setValue(component(scheme, index));
  }
  store_.set_colors(scheme);
}

void register_color_scheme_command(CommandRegistry& registry, ColorSchemeStore& store,
                                   OperatorPrompts& prompts, QWidget& owner) {
  registry.add(menu::kChangeColors, [&store, &prompts, &owner] {
    ColorSchemeDialog dialog(store, &owner);
    prompts.run_dialog(dialog);
  });
}

}  // namespace mav
