#include "tools/script/script_help.h"

namespace tv::script {

std::string HelpText() {
  return R"(Usage: tonvela-script [FILE | -]
       tonvela-script --help | --version
Runs Tonvela without a display, driven by a script: one command a line, from FILE or,
with "-" or no argument, from standard input. Blank lines and lines starting with '#'
are ignored. Each command acts when the program has handled everything before it, as a
user acts on what the window shows.

Commands:
  click ID               click the button with that control ID
  command ID             send a bare WM_COMMAND with that identifier
  scroll ID CODE [POS]   a scroll-bar action on that slider (CODE below; POS 0-65535)
  key NAME               press Tab, Shift+Tab, Left, Right, Up, Down, Space or Return
  text ID                print a control's text (UTF-8)
  texts                  print every addressed control's text
  state                  print the tone state and what the controls show
  snapshot FILE.png      save the client area as the last paint left it
  fail-open              the next opening of the output device fails (no sound card)
  play SECONDS           let that much audio time pass (0-86400)
  record FILE.wav        write everything played from now on to a 16 kHz mono WAV file
  close                  close the window; prints "exit N". Nothing may follow it.

Scroll codes:
  0  one step left: -1 Hz, or -0.01 of full amplitude
  1  one step right: +1 Hz, or +0.01
  2  one page left: -10 Hz, or -0.10
  3  one page right: +10 Hz, or +0.10
  4  the thumb was released (the position stays)
  5  the thumb is dragged to POS
  6  to the left end (the program leaves the position)
  7  to the right end (the program leaves the position)
  8  the action ended (the position stays)
Every code rewrites the slider's label and repaints.

Controls:
  buttons   1008 square, 1009 sawtooth, 1010 triangle, 1011 repeated pulse, 1012 sine,
            1039 vowel "a", 1040 Clear, 1003 volume down, 1007 volume up
  sliders   1014 frequency, 0-2000 Hz (starts at 440)
            1018-1022 and 1028-1032 harmonics 1-10, 0-100 hundredths of full amplitude

Bad input gets one message naming its line on standard error, exit status 2, and no
output file. Files are written only when the whole script has run.
)";
}

}  // namespace tv::script
