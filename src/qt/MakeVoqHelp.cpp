// Writes "VOQ_Help.pdf", the VOQ-3 module guide installed beside the program: what each setting
// of the module does, with every value the settings dialog offers, taken from the module's table
// so the guide and the dialog never disagree. Run at build time: make-voq-help <output.pdf>.
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>
#include <map>

#include "modules/ModuleSettingsTable.h"

namespace {

// What each list of the VOQ-3 dialog does, by control id.
const std::map<int, const char*> kExplanations = {
    {1401,
     "Sets the level the module expects from the radio's receive audio. Choose the level "
     "the radio delivers; a lower setting makes the module more sensitive."},
    {1404,
     "Sets the level of the audio the module sends to the radio's transmit input. Raise it "
     "until the far end hears full modulation without distortion."},
    {1402,
     "Chooses how the module decides that the radio is receiving: the radio's COR line, "
     "the voice-and-noise detector (VMR) or the voice detector (VOX)."},
    {1405,
     "Whether the radio's COR line is active low or active high. Only used with COR "
     "squelch."},
    {1406,
     "How long the voice detector keeps the receive path open after speech stops. The VMR "
     "detector always holds for 775 ms at the shorter settings."},
    {1407, "How loud speech must be before the VOX or VMR detector opens the receive path."},
    {1409,
     "Delays received audio so that the first syllable, heard before the detector opens, "
     "is not clipped."},
    {1410, "Delays transmitted audio to give the radio time to key up before speech arrives."},
    {1408,
     "Half duplex lets audio flow one way at a time; full duplex passes both directions "
     "together, for radios and links that allow it."},
    {1411,
     "In half duplex, decides whether receive (COR) or transmit (PTT) wins when both are "
     "active at once. Not used in full duplex."},
    {1412, "The pause before the module's voice prompts are played."},
    {1421, "Whether received audio is muted while the squelch is closed."},
    {1419,
     "After the radio stops transmitting, receive activity is ignored for this long so the "
     "radio's own tail is not taken for a call."},
    {1423,
     "Shapes the high frequencies of the audio: cut them for harsh radios, boost them for "
     "dull ones. Flat leaves the audio unchanged."},
    {1430, "How strongly background noise is reduced; Off passes the audio untouched."},
    {1429,
     "Periodically samples a radio whose COR stays active, to find out whether a real "
     "signal is still present."},
    {1426, "How long COR must stay active before sampling starts."},
    {1431, "The time between two samples."},
    {1432, "How long each sample lasts."},
    {1434, "Tones sent with the transmit audio to key radios that need them."},
    {1436,
     "The level of the keying tone, relative to the audio. Only used with the continuous "
     "1950 Hz tone."},
    {1445, "Whether the module listens for DTMF digits on its audio, for remote control."},
    {1440, "Whether the DTMF digits arriving from the radio are pre-emphasized."},
    {1443, "How long audio stays muted after a DTMF digit, so digits are not passed on."},
    {1444, "The PIN security level a caller must hold to use this port with DTMF commands."},
};

QString escaped(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size())).toHtmlEscaped();
}

QString guide_html(const mav::ModuleTable& table) {
  QString html =
      "<h1>VOQ-3 Signal Processing Module</h1>"
      "<p>The VOQ-3 joins a two-way radio to the gateway. It conditions the radio's audio in both "
      "directions, decides when the radio is receiving, keys the radio's transmitter and "
      "listens for DTMF commands. Open its settings with a second click on the port's icon; "
      "every change is sent to the gateway with OK or Apply, and the dialog shows the "
      "gateway's answer.</p>"
      "<h2>Tuning a radio</h2>"
      "<ol><li>Set the RX and TX levels to the radio's audio levels.</li>"
      "<li>Choose the squelch type: COR when the radio has a carrier output, otherwise VOX or "
      "VMR, then adjust threshold and hang time.</li>"
      "<li>Add audio delays when first syllables are clipped.</li>"
      "<li>Save the result as a template to set up the next radio of the same kind.</li></ol>";
  for (const mav::DialogGroup& group : table.groups) {
    bool heading = false;
    for (const int id : group.controls) {
      const mav::SettingRow* row = mav::find_row(table, id);
      if (row == nullptr) continue;
      if (!heading) {
        html += "<h2>" + escaped(group.title) + "</h2>";
        heading = true;
      }
      html += "<h3>" + escaped(row->label) + "</h3>";
      const auto explanation = kExplanations.find(id);
      if (explanation != kExplanations.end()) html += "<p>" + QString(explanation->second) + "</p>";
      html += "<p>Values:</p><ul>";
      for (const mav::Choice& choice : row->choices)
        html += "<li>" + escaped(choice.label) + "</li>";
      html += "</ul>";
    }
  }
  return html;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-voq-help <output.pdf>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const mav::ModuleTable* table = mav::module_table(mav::MOD_VOQ3);
  if (table == nullptr) return 1;

  QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
  pdf.setTitle("VOQ-3 Module Help");
  pdf.setPageSize(QPageSize(QPageSize::A4));
  pdf.setResolution(300);
  QTextDocument document;
  document.setHtml(guide_html(*table));
  document.print(&pdf);
  return 0;
}
