# Each folder that holds code lists its sources in a sources.cmake beside it (and test
# folders list their suites in *.cmake files), so that areas of the code can grow without
# touching a shared list.
macro(kv_include_fragments pattern)
  file(GLOB _kv_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
  list(SORT _kv_fragments)
  foreach(_kv_fragment IN LISTS _kv_fragments)
    include(${_kv_fragment})
  endforeach()
endmacro()

# A static library of <name>_core (every platform) and, on Windows, <name> on top of it.
# A half with no sources yet is an interface library of that name.
function(kv_area_libraries name core_sources win_sources core_deps win_deps)
  if(core_sources)
    add_library(${name}_core STATIC ${core_sources})
    kv_defaults(${name}_core)
    target_link_libraries(${name}_core PUBLIC ${core_deps})
  else()
    add_library(${name}_core INTERFACE)
    target_link_libraries(${name}_core INTERFACE ${core_deps})
  endif()
  if(WIN32)
    if(win_sources)
      add_library(${name} STATIC ${win_sources})
      kv_defaults(${name})
      target_link_libraries(${name} PUBLIC ${name}_core ${win_deps})
    else()
      add_library(${name} INTERFACE)
      target_link_libraries(${name} INTERFACE ${name}_core ${win_deps})
    endif()
  endif()
endfunction()
