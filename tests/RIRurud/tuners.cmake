# The reference-tone tuners.
tonarix_add_test(test_tuners SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Tuners.cpp LIBS RIRurud PICTURES TIMEOUT 180)
add_dependencies(test_tuners pageviewer)
if(TONARIX_GENERATE_SOUNDS)
  target_compile_definitions(test_tuners PRIVATE TONARIX_SOUNDS_GENERATED=1)
else()
  target_compile_definitions(test_tuners PRIVATE TONARIX_SOUNDS_GENERATED=0)
endif()
# The pages choose their links by the system locale's country: run that case under a few more.
foreach(locale "fr_FR.UTF-8;France" "de_CH.UTF-8;Switzerland" "en_CA.UTF-8;Canada" "en_GB.UTF-8;United Kingdom" "nl_BE.UTF-8;Belgium")
  list(GET locale 0 lc)
  list(GET locale 1 country)
  string(REGEX REPLACE "[^A-Za-z]" "_" suffix "${lc}")
  add_test(NAME test_tuners_${suffix} COMMAND test_tuners linksFollowTheSystemCountry)
  set_tests_properties(test_tuners_${suffix} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LC_ALL=${lc};TONARIX_EXPECT_COUNTRY=${country}")
endforeach()
