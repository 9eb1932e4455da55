#include "tools/script/script_help.h"

#include <cstdio>

#include "tools/script/script_parser.h"

namespace tv::script {
namespace {

constexpr char kIntroduction[] = R"(Usage: tonvela-script [FILE | -]
       tonvela-script --help | --version
Runs Tonvela without a display, driven by a script: one command a line, from FILE or,
with "-" or no argument, from standard input. Blank lines and lines starting with '#'
are ignored; a file name with spaces goes in double quotes ("my picture.png"). Each
command acts when the program has handled everything before it, as a user acts on what
the window shows. Audio time passes only with play (and record ... for).

Commands:
  click ID               click the button with that control ID or name
  command ID             send a bare WM_COMMAND with that identifier
  scroll ID CODE [POS]   a scroll-bar action on that slider (CODE below; POS 0-65535)
  set frequency HZ       drag the frequency slider to HZ (0-2000), as a user would
  set harmonic K POSITION
                         drag harmonic K's slider (K 1-10) to POSITION (0-100)
  key NAME               press Tab, Shift+Tab, Left, Right, Up, Down, Space or Return
  text ID                print a control's text (UTF-8)
  texts                  print every addressed control's text
  state                  print the tone state and what the controls show
  snapshot FILE.png      save the client area as the last paint left it (panels only)
  picture FILE.png [AREA] [scale N]
                         save the window as the desktop program shows it, with every
                         text; AREA is window (the default), waves, composite or
                         spectrum (one panel with its labels); N is 1-4 (default 1)
  fail-open              the next opening of the output device fails (no sound card)
  play SECONDS           let that much audio time pass (0-86400)
  record FILE.wav [for SECONDS] [fade [MS]]
                         write what is played from now on to a 16 kHz mono WAV file,
                         exactly; "for" plays SECONDS and ends the recording, "fade"
                         fades it in and out over MS milliseconds (default 10)
  close                  close the window; prints "exit N". Nothing may follow it.
)";

constexpr char kEnding[] = R"(
Sliders: frequency 0-2000 Hz (starts at 440); harmonic1-harmonic10 0-100 hundredths
of full amplitude (start at 0). Every scroll code rewrites the slider's label and
repaints.

Bad input gets one message naming its line on standard error, exit status 2, and no
output file. Files are written only when the whole script has run.

Example: a picture and a sound of the square wave for a handout
  click square
  picture square.png
  record square.wav for 2 fade
)";

}  // namespace

std::string HelpText() {
  std::string text = kIntroduction;
  text += "\nScroll codes (CODE is the number or the name):\n";
  char line[160];
  for (const NamedScrollCode& code : ScrollCodeNames()) {
    std::snprintf(line, sizeof line, "  %d %-10s %s\n", code.code, std::string(code.name).c_str(),
                  std::string(code.meaning).c_str());
    text += line;
  }
  text += "To put a slider at a place, use set: code 4 alone leaves it where it is.\n";
  text += "\nControls (ID is the number or the name):\n";
  for (const NamedControl& control : ControlNames()) {
    std::snprintf(line, sizeof line, "  %-17s %5d  %s\n", std::string(control.name).c_str(),
                  control.id, std::string(control.meaning).c_str());
    text += line;
  }
  return text + kEnding;
}

}  // namespace tv::script
