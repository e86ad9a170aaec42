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
  tonarix_add_test_run(test_tuners_${suffix} test_tuners ARGS linksFollowTheSystemCountry
    ENVIRONMENT "LC_ALL=${lc}" "TONARIX_EXPECT_COUNTRY=${country}")
endforeach()

# The pages look for the tone files in the bundle's resource folder, beside the folder "MacOS" that
# holds the executable. Programs that play them for real are built into a bundle of their own
# whose resource folder is a link to the program's.
function(tonarix_tuner_bundle target bundle)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${bundle}/MacOS")
  file(MAKE_DIRECTORY "${bundle}")
  file(CREATE_LINK "${TONARIX_BUNDLE_RESOURCES_DIR}" "${bundle}/Resources" SYMBOLIC)
  add_dependencies(${target} soundbank)
endfunction()

# Heard at the sound server: one at a time.
tonarix_add_test(test_tuner_sound SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_TunerSound.cpp
  LIBS RIRurud QMMultiMediaSinkCapture PICTURES RESOURCE_LOCK audio LABELS audio TIMEOUT 120 EVERY_SOUND_SERVER)
tonarix_tuner_bundle(test_tuner_sound "${CMAKE_CURRENT_BINARY_DIR}/TunerSoundProbe")

# The tuner window's speed. scripts/bench runs every program in <build>/bench: there it is a link to
# the benchmark in its bundle.
tonarix_add_bench(bench_tuners SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Tuners.cpp
  LIBS RIRurud QMMultiMediaSinkCapture Qt5::Test PICTURES)
tonarix_tuner_bundle(bench_tuners "${PROJECT_BINARY_DIR}/bench/TunerBench")
file(CREATE_LINK "TunerBench/MacOS/bench_tuners" "${PROJECT_BINARY_DIR}/bench/bench_tuners" SYMBOLIC)
