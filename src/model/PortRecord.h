// One port of the gateway as the program holds it. The struct's byte image (624 bytes,
// little-endian, natural alignment) is also the record of configuration files and templates, so
// the field order and widths never change; every offset is pinned below.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace mav {

inline constexpr int kPortCount = 26;
inline constexpr std::int16_t GROUP_NONE = 65;   // no net, bus, link or DISCH group
inline constexpr std::uint16_t PORT_NONE = 129;  // no port; ends a monitor list
inline constexpr int kMonitorSlots = 27;         // 26 entries and the end mark
inline constexpr int kTextFieldSize = 256;

enum ModuleType : std::uint32_t {
  MOD_NONE = 0,
  MOD_TOV5 = 1,   // radio interface
  MOD_MEK4 = 2,   // handset/speaker
  MOD_LINE7 = 3,  // telephone line
  MOD_VOQ3 = 4,   // signal processing
  MOD_HK6 = 5,    // local phone
};

// Module settings, one field per protocol keyword (the keyword in lower case).
struct ModuleSettings {
  std::uint8_t two_w_four_w;
  std::uint8_t delay_time;
  std::uint8_t eq;
  std::uint8_t auto_ans;
  std::uint32_t calling_time;
  std::uint8_t conf;
  std::uint8_t cor_inhibit;
  std::uint8_t cor_polarity;
  std::uint8_t cor_sampling;
  std::uint8_t cor_samp_delay;
  std::uint8_t cor_samp_interval;
  std::uint8_t cor_samp_width;
  std::uint8_t db_tone;
  std::uint8_t dial_tone_enable;
  std::uint8_t dial_tone_wait;
  std::uint8_t dtmf_mute_time;
  std::uint8_t duplex;
  std::uint8_t keying_tones;
  std::uint8_t tone_key_amp;
  std::uint8_t on_hook;
  std::uint8_t op;
  std::uint8_t peaker;
  std::uint8_t prompt_delay;
  std::uint8_t prompt_lang;
  std::uint8_t line_type;
  std::uint8_t line_timeout;
  std::uint8_t ptt_priority;
  std::uint8_t radio_type;
  std::uint8_t ringback_enable;
  std::uint8_t rx_level;
  std::uint8_t rx_squelch;
  std::uint8_t security_level;
  std::uint8_t reserved1;  // stored and saved, never interpreted
  std::uint32_t squelch_type;
  std::uint8_t dial_mode;
  std::uint8_t reserved2;  // stored and saved, never interpreted
  std::uint8_t trunk_type;
  std::uint8_t tx_level;
  std::uint8_t user_control;
  std::uint8_t ring_cadence;
  std::uint8_t vmr_thresh;
  std::uint8_t vmr_hang;
};

struct PortRecord {
  std::uint32_t mod_type;
  std::int16_t net;  // 1-7 shown to the operator, or GROUP_NONE
  std::int16_t bus;
  std::int16_t bus_link;
  std::int16_t disch_group;
  std::uint8_t perm_conn;
  std::uint8_t monitors[kMonitorSlots];  // ended by PORT_NONE
  ModuleSettings settings;
  char port_name[kTextFieldSize];
  std::uint8_t icon_color;   // 0 Gray .. 7 Magenta
  std::uint8_t icon_preset;  // 1 preset icon in icon_color, 0 custom icon
  std::uint8_t padding1[2];  // written as held
  std::int32_t icon_id;      // 551 + custom icon slot, or -1
  char icon_path[kTextFieldSize];
  std::uint8_t cor_active;
  std::uint8_t ptt_active;
  std::uint8_t ring_active;
  std::uint8_t padding2;  // written as held
  std::uint32_t disch_step;
  std::uint32_t connect_step;
  std::uint16_t pending_partner;
  std::uint16_t pending_bus;
};

// The record image is the file format: these offsets are the file's, not the compiler's choice.
// Records go to disk as memory images, so the image is the file's little-endian layout.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(ModuleSettings) == 48);
static_assert(sizeof(PortRecord) == 624);
static_assert(offsetof(PortRecord, mod_type) == 0);
static_assert(offsetof(PortRecord, net) == 4);
static_assert(offsetof(PortRecord, bus) == 6);
static_assert(offsetof(PortRecord, bus_link) == 8);
static_assert(offsetof(PortRecord, disch_group) == 10);
static_assert(offsetof(PortRecord, perm_conn) == 12);
static_assert(offsetof(PortRecord, monitors) == 13);
static_assert(offsetof(PortRecord, settings) == 40);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, calling_time) == 44);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, conf) == 48);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, tone_key_amp) == 61);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, on_hook) == 62);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, security_level) == 74);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, reserved1) == 75);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, squelch_type) == 76);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, dial_mode) == 80);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, trunk_type) == 82);
static_assert(offsetof(PortRecord, settings) + offsetof(ModuleSettings, vmr_hang) == 87);
static_assert(offsetof(PortRecord, port_name) == 88);
static_assert(offsetof(PortRecord, icon_color) == 344);
static_assert(offsetof(PortRecord, icon_preset) == 345);
static_assert(offsetof(PortRecord, icon_id) == 348);
static_assert(offsetof(PortRecord, icon_path) == 352);
static_assert(offsetof(PortRecord, cor_active) == 608);
static_assert(offsetof(PortRecord, ptt_active) == 609);
static_assert(offsetof(PortRecord, ring_active) == 610);
static_assert(offsetof(PortRecord, disch_step) == 612);
static_assert(offsetof(PortRecord, connect_step) == 616);
static_assert(offsetof(PortRecord, pending_partner) == 620);
static_assert(offsetof(PortRecord, pending_bus) == 622);

}  // namespace mav
