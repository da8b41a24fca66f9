# The wizard model's wait joins the configuration benchmark: CPU time of a two-second wait.
if(WIN32)
  target_sources(kv_config_bench PRIVATE KVWaitBench.cpp)
  target_link_libraries(kv_config_bench PRIVATE kvregister)
endif()
