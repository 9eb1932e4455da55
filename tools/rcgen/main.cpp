// tonvela-rcgen OUTPUT.rc ICON.ico MANIFEST
// Writes the resource script of the Windows program from the dialog template table.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "app/main_dialog.h"
#include "platform/dialog_template.h"
#include "tools/rcgen/resource_script.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: tonvela-rcgen OUTPUT.rc ICON.ico MANIFEST\n";
    return 2;
  }
  const tv::DialogTemplate* dialog = tv::FindDialogTemplate(kMainDialogResourceId);
  if (!dialog) {
    std::cerr << "tonvela-rcgen: no dialog template " << kMainDialogResourceId << "\n";
    return 1;
  }
  const std::string script = tv::rcgen::ResourceScript(*dialog, {argv[2], argv[3]});

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
