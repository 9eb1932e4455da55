// The page's side of platform/web/page_bridge.h: each call goes to the TonvelaPage that
// index.html hands to the program as Module.tonvelaPage.
mergeInto(LibraryManager.library, {
  tv_page_dialog_created: function (dialog, width, height, caption, fontFace, fontPixels) {
    Module.tonvelaPage.dialogCreated(dialog, width, height, UTF8ToString(caption),
                                     UTF8ToString(fontFace), fontPixels);
  },
  tv_page_control_created: function (dialog, control, id, kind, style, left, top, width, height) {
    Module.tonvelaPage.controlCreated(dialog, control, id, kind, style >>> 0, left, top, width, height);
  },
  tv_page_control_changed: function (control, text, scrollMin, scrollMax, scrollPos, checked, focused) {
    Module.tonvelaPage.controlChanged(control, UTF8ToString(text), scrollMin, scrollMax, scrollPos,
                                      checked !== 0, focused !== 0);
  },
  tv_page_dialog_destroyed: function (dialog) {
    Module.tonvelaPage.dialogDestroyed(dialog);
  },
  tv_page_present: function (dialog, rgba, width, height) {
    Module.tonvelaPage.present(dialog, HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
  },
  tv_page_wait_for_events: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      Module.tonvelaPage.waitForEvents(wakeUp);
    });
  },
  tv_page_wake: function () {
    Module.tonvelaPage.wake();
  },
  tv_page_beep: function () {
    Module.tonvelaPage.beep();
  },
  tv_page_program_ended: function (exitCode) {
    Module.tonvelaPage.programEnded(exitCode);
  },
  tv_page_audio_open: function (sampleRate) {
    return Module.tonvelaPage.audio.open(sampleRate) ? 1 : 0;
  },
  tv_page_audio_close: function () {
    Module.tonvelaPage.audio.close();
  },
});
