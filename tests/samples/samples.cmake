# The person that plays the wizard for the packaged samples (tools/lib/samples.sh): the
# reference host's autopilot in a DLL that a sample built for the check loads before its main.
if(WIN32)
  add_library(KVSamplePerson SHARED samples/KVSamplePerson.cpp)
  kv_defaults(KVSamplePerson)
  set_target_properties(KVSamplePerson PROPERTIES PREFIX "")
  target_link_libraries(KVSamplePerson PRIVATE kvhost)
endif()
