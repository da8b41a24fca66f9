# The reference host: its server's rules and command line everywhere, and under Wine whole
# runs of KVRegisterHost.exe with the autopilot, each checking the road of actions it takes.
kv_add_gtest(kvhost_core_test
  SOURCES host/KVSimServerTest.cpp host/KVHostOptionsTest.cpp
  LIBS kvhost_core)

if(WIN32)
  set(kv_host_exe ${KV_INSTALL_ROOT}/KVRegisterHost.exe)
  # One scenario: its own registry key and folder, a fresh server, and the printed road of
  # each run (then how the host ended) as the pass condition.
  function(kv_add_host_scenario name)
    cmake_parse_arguments(ARG "" "END" "ARGS;ROADS" ${ARGN})
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/host-scenarios/${name})
    set(pattern "")
    foreach(road IN LISTS ARG_ROADS)
      string(REPLACE "(" "\\(" road "${road}")
      string(REPLACE ")" "\\)" road "${road}")
      string(APPEND pattern "road: ${road}\n.*")
    endforeach()
    string(APPEND pattern "end: ${ARG_END}\n")
    add_test(NAME kvhost_${name}
      COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${kv_host_exe}
        --key "Software\\KVTest\\host-${name}" --install-root "Z:${KV_INSTALL_ROOT}" --log-level 5
        --state "Z:${folder}" --fresh --wait 1 --autopilot --pictures "Z:${folder}/pictures" ${ARG_ARGS})
    set_tests_properties(kvhost_${name} PROPERTIES PASS_REGULAR_EXPRESSION "${pattern}" TIMEOUT 120)
    kv_wine_display_lock(kvhost_${name} kv_wine_display)
  endfunction()

  kv_add_host_scenario(happy
    ROADS "NONE>QUERYREGISTER QUERIEDREGISTER>REGISTER PENDING>REGISTER VALIDATE>VALIDATE ERROR(InvalidRegCode)>VALIDATE REGISTERED>FINISHED"
    END "KVACTION_FINISHED, exit 0")
  kv_add_host_scenario(pending ARGS --pending 3 --wrong-codes 0
    ROADS "NONE>QUERYREGISTER QUERIEDREGISTER>REGISTER PENDING>REGISTER PENDING>REGISTER PENDING>REGISTER VALIDATE>VALIDATE REGISTERED>FINISHED"
    END "KVACTION_FINISHED, exit 0")
  kv_add_host_scenario(blocked ARGS --pending 0 --wrong-codes 3
    ROADS "NONE>QUERYREGISTER QUERIEDREGISTER>REGISTER VALIDATE>VALIDATE ERROR(InvalidRegCode)>VALIDATE ERROR(InvalidRegCode)>VALIDATE ERROR(RegCodeBlocked)>CANCEL"
    END "KVACTION_CANCEL, exit 1")
  kv_add_host_scenario(correctable ARGS --pending 0 --wrong-codes 0 --fail register=RegTaskFailed
    ROADS "NONE>QUERYREGISTER QUERIEDREGISTER>REGISTER ERROR(RegTaskFailed)>REGISTER VALIDATE>VALIDATE REGISTERED>FINISHED"
    END "KVACTION_FINISHED, exit 0")
  kv_add_host_scenario(fatal ARGS --fail query=HTTPERROR
    ROADS "NONE>QUERYREGISTER ERROR(HTTPERROR)>CANCEL"
    END "KVACTION_CANCEL, exit 1")
  kv_add_host_scenario(existing ARGS --pending 0 --wrong-codes 0 --runs 2
    ROADS "NONE>QUERYREGISTER QUERIEDREGISTER>REGISTER VALIDATE>VALIDATE REGISTERED>FINISHED"
          "NONE>QUERYREGISTER ERROR(RegMSISDNNotAllowed)>QUERYREGISTER ERROR(RegMSISDNNotAllowed)>CANCEL"
    END "KVACTION_CANCEL, exit 1")
  kv_add_host_scenario(cancel ARGS --cancel-on validate --pending 0
    ROADS "NONE>QUERYREGISTER QUERIEDREGISTER>REGISTER VALIDATE>CANCEL"
    END "KVACTION_CANCEL, exit 1")
endif()
