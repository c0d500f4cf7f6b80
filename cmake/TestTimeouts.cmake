# Test time limits scaled for slow builds. The sanitizer builds run every
# test several times slower than the normal build; scripts/sanitize.sh sets
# Q3_TEST_TIMEOUT_SCALE so that their limits grow with them, while the
# normal build keeps the limits each test names.
set(Q3_TEST_TIMEOUT_SCALE 1 CACHE STRING "Factor applied to every test's TIMEOUT")

# Called at the end of each folder that adds tests: scales the TIMEOUT of
# every test added there so far.
function(q3_scale_test_timeouts)
  if(Q3_TEST_TIMEOUT_SCALE EQUAL 1)
    return()
  endif()
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS tests)
    get_test_property(${test} TIMEOUT limit)
    if(limit)
      math(EXPR limit "${limit} * ${Q3_TEST_TIMEOUT_SCALE}")
      set_tests_properties(${test} PROPERTIES TIMEOUT ${limit})
    endif()
  endforeach()
endfunction()
