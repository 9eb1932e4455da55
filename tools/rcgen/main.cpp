// tonvela-rcgen OUTPUT.rc ICON.ico MANIFEST VERSION
// Writes the resource script of the Windows program from the dialog template table, with
// VERSION (the project's, "2019.05.10") in the executable's file properties.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "app/main_dialog.h"
#include "platform/dialog_template.h"
#include "tools/rcgen/resource_script.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: tonvela-rcgen OUTPUT.rc ICON.ico MANIFEST VERSION\n";
    return 2;
  }
  const tv::rcgen::VersionInfo version{argv[4], "Tonvela", "Tonvela 複合音の学習", "tonvela.exe"};
  if (!tv::rcgen::ParseFileVersion(version.version)) {
    std::cerr << "tonvela-rcgen: version \"" << version.version
              << "\" is not one to four dotted numbers of 0 to 65535\n";
    return 2;
  }
  const tv::DialogTemplate* dialog = tv::FindDialogTemplate(kMainDialogResourceId);
  if (!dialog) {
    std::cerr << "tonvela-rcgen: no dialog template " << kMainDialogResourceId << "\n";
    return 1;
  }
  const std::string script = tv::rcgen::ResourceScript(*dialog, {argv[2], argv[3]}, version);

  // Written beside the target and renamed, so a failed run leaves no half script.
  const std::string output = argv[1];
  const std::string partial = output + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file << script;
    if (!file.flush()) {
      std::cerr << "tonvela-rcgen: cannot write " << partial << "\n";
      return 1;
    }
  }
  if (std::rename(partial.c_str(), output.c_str()) != 0) {
    std::cerr << "tonvela-rcgen: cannot rename " << partial << " to " << output << "\n";
    return 1;
  }
  return 0;
}
