kv_add_gtest(kvcommon_observer_test
  SOURCES common/KVObservableTest.cpp
  LIBS kvcommon_core)
