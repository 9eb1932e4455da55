# tonvela_link_platform(TARGET BACKEND)
# Links the platform core and one backend. The core calls into the backend
# (tv::CurrentBackend) and the backend into the core, so the two go into one link group
# that the linker rescans (Emscripten's linker goes back into archives by itself). Dialog
# templates come with the core, from the data-only resource library, so code that only
# needs windows links this alone.
function(tonvela_link_platform target backend)
  if(EMSCRIPTEN)
    target_link_libraries(${target} PRIVATE tonvela_platform_core ${backend})
  else()
    target_link_libraries(${target} PRIVATE
      "$<LINK_GROUP:RESCAN,tonvela_platform_core,${backend}>" Threads::Threads)
  endif()
endfunction()

# tonvela_link_program(TARGET BACKEND)
# Links the program (app, sound, display, dsp) over the platform core and one backend.
# The program only calls down into the platform, so it needs no place in the group.
function(tonvela_link_program target backend)
  target_link_libraries(${target} PRIVATE tonvela_app tonvela_dsp)
  tonvela_link_platform(${target} ${backend})
endfunction()
