# The speed figures of the language table and the log (a program, not a test).
if(WIN32)
  set(kv_config_bench_libs kvcommon)
else()
  set(kv_config_bench_libs kvcommon_core)
endif()
add_executable(kv_config_bench KVConfigBench.cpp)
target_link_libraries(kv_config_bench PRIVATE ${kv_config_bench_libs})
kv_defaults(kv_config_bench)
