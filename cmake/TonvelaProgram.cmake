# tonvela_link_platform(TARGET BACKEND [LIBRARY...])
# Links the platform core, one backend and any further libraries that call into the
# core (e.g. the Qt widgets that tonvela-script draws its pictures with). The core calls
# into the backend (tv::CurrentBackend) and the backend into the core, so they go into
# one link group that the linker rescans (Emscripten's linker goes back into archives by
# itself). Dialog templates come with the core, from the data-only resource library, so
# code that only needs windows links this alone.
function(tonvela_link_platform target backend)
  if(EMSCRIPTEN)
    target_link_libraries(${target} PRIVATE tonvela_platform_core ${backend} ${ARGN})
  else()
    list(JOIN ARGN "," extra)
    if(extra)
      set(extra ",${extra}")
    endif()
    target_link_libraries(${target} PRIVATE
      "$<LINK_GROUP:RESCAN,tonvela_platform_core,${backend}${extra}>" Threads::Threads)
  endif()
endfunction()

# tonvela_link_program(TARGET BACKEND [LIBRARY...])
# Links the program (app, sound, display, dsp) over the platform core, one backend and
# any further libraries that call into the core. The program only calls down into the
# platform, so it needs no place in the group.
function(tonvela_link_program target backend)
  target_link_libraries(${target} PRIVATE tonvela_app tonvela_dsp)
  tonvela_link_platform(${target} ${backend} ${ARGN})
endfunction()
