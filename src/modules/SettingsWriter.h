// Turns one port's module settings into gateway command lines: the only place that sends them.
// It compares the wanted record with the one the gateway is believed to hold and sends a line for
// each field that differs, in the module's fixed order (every line when nothing is believed);
// afterwards the believed record's settings block is brought up to date so the same changes are
// not sent twice. The model itself changes only when the gateway's replies come in.
#pragma once

#include <atomic>

#include "link/LineSender.h"
#include "model/PortRecord.h"
#include "modules/ModuleSettingsTable.h"
#include "protocol/SessionState.h"

namespace mav {

class SettingsWriter {
 public:
  // session supplies the handset squelch type the gateway last reported.
  SettingsWriter(LineSender& sender, const SessionState& session);

  // port 0..25. new_record is copied first, so old_record may overlap it; old_record may be null
  // (send everything). A record of no known module type sends nothing and leaves old_record
  // alone. Every line expects a reply. Any thread (the dialogs, template and configuration
  // loading).
  void WriteModuleSettings(int port, const PortRecord& new_record, PortRecord* old_record);

  // The handset squelch choice made in a MEK-4 dialog (a value-word index, kMekSquelchUnknown
  // before any): sent with port 00's settings while it differs from the reported type.
  void request_mek_squelch(int value_word) { mek_squelch_requested_.store(value_word); }
  int mek_squelch_requested() const { return mek_squelch_requested_.load(); }

 private:
  void send(const char* line);

  LineSender& sender_;
  const SessionState& session_;
  std::atomic<int> mek_squelch_requested_{kMekSquelchUnknown};
};

}  // namespace mav
