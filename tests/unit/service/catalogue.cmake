# Unit tests of the service's catalogues (units, coordinate systems, reference
# values). No service process: the servant tests run an ORB in the test, and a
# double of the service's fault hook stands in for it.
if(TARGET kelwelld_catalogue)
  foreach(test units coordinates reference_values servants)
    kelwell_add_test(catalogue_${test}_test
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/catalogue_${test}_test.cpp
              ${CMAKE_CURRENT_LIST_DIR}/catalogue_fault_double.cpp
      LIBRARIES kelwelld_catalogue)
  endforeach()
endif()
