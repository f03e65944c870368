// A busy gateway in every size and layout, saved as PNG files into screenshots/ for a person to
// look at. Nothing is compared: the artwork may change freely.
#include <QDir>

#include "MatrixGuiFixture.h"

namespace mav::test {
namespace {

class Screenshots : public MatrixGui {
 protected:
  void Populate(bool upper_half) {
    const char* names[] = {"Base Radio", "Dispatch", "PSTN 1",     "Console A", "Repeater",
                           "Fire Ch 2",  "Tower",    "Supervisor", "Line 2",    "Patrol",
                           "EMS",        "Intercom", "Gate Phone"};
    const ModuleType types[] = {MOD_TOV5, MOD_MEK4, MOD_LINE7, MOD_VOQ3, MOD_HK6};
    const int ports = upper_half ? 26 : 13;
    for (int port = 0; port < ports; ++port) {
      AddModule({port, types[port % 5], GROUP_NONE, names[port % 13], port % 8});
    }
    // Seven nets; three of them linked (blue, red, olive yellow).
    const struct {
      int bus, link;
      std::initializer_list<int> members;
    } nets[] = {{0, GROUP_NONE, {0, 1, 2}},
                {1, 0, {5, 6}},
                {2, GROUP_NONE, {8, 9, 10}},
                {3, 1, {4, 11}},
                {4, 2, {7, 12}},
                {5, GROUP_NONE, {14, 15, 16}},
                {6, GROUP_NONE, {20, 24}}};
    for (const auto& net : nets) {
      for (int port : net.members) {
        if (port >= ports) continue;
        Change(port, [&](PortRecord& r) {
          r.bus = static_cast<std::int16_t>(net.bus);
          r.bus_link = static_cast<std::int16_t>(net.link);
        });
      }
    }
    // Lamps and badges: COR, PTT, ringing, permanent connections and DISCH groups 0 and 3.
    Change(0, [](PortRecord& r) { r.perm_conn = r.cor_active = 1; });
    Change(1, [](PortRecord& r) { r.ptt_active = 1; });
    Change(2, [](PortRecord& r) { r.ring_active = 1; });
    Change(5, [](PortRecord& r) { r.disch_group = 0; });
    Change(6, [](PortRecord& r) { r.disch_group = 0, r.cor_active = 1; });
    Change(9, [](PortRecord& r) { r.disch_group = 3, r.perm_conn = 1; });
    SetMonitors(3, {0, 1, 2, 4, 9});
    if (upper_half) {
      SetMonitors(18, {7});
      Change(24, [](PortRecord& r) { r.ptt_active = 1; });
    }
    widget.show_status_text("Connected to the gateway on COM1");
  }
};

TEST_F(Screenshots, SixFramesForThreeSizesAndTwoLayouts) {
  ASSERT_TRUE(QDir().mkpath(QStringLiteral("screenshots")));
  for (bool upper_half : {false, true}) {
    model.Reset(false);
    Populate(upper_half);
    for (int size = 0; size < 3; ++size) {
      UseSize(size);
      Frame();
      widget.show_message("Asynchronous CONNECT received");
      const QImage frame = Shown();
      ASSERT_EQ(widget.layout().show_26_columns, upper_half);
      const QString path = QStringLiteral("screenshots/matrix_%1x%2_%3col.png")
                               .arg(frame.width())
                               .arg(frame.height())
                               .arg(upper_half ? 26 : 13);
      EXPECT_TRUE(frame.save(path, "PNG")) << path.toStdString();
    }
  }
}

}  // namespace
}  // namespace mav::test
