# tonvela_link_program(TARGET BACKEND)
# Links the program (app, sound, display, dsp), the platform core and one backend.
# The core calls into the backend and the app's resources, and the app calls into the
# core, so the static libraries go into one link group that the linker rescans.
function(tonvela_link_program target backend)
  target_link_libraries(${target} PRIVATE
    "$<LINK_GROUP:RESCAN,tonvela_app,tonvela_platform_core,${backend}>")
  target_link_libraries(${target} PRIVATE tonvela_dsp Threads::Threads)
endfunction()
