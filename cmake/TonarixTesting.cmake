# The sanitizers' settings for every program run under them (tests, and build-time tools through
# scripts/common.sh, which sets the same).
if(TONARIX_SANITIZER STREQUAL "address")
  set(TONARIX_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizer/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
elseif(TONARIX_SANITIZER STREQUAL "thread")
  set(TONARIX_SANITIZER_ENVIRONMENT
    "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:history_size=7:ignore_noninstrumented_modules=1:suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizer/tsan.supp")
endif()

# A build-time generator runs uninstrumented in a ThreadSanitizer build: it links none of the
# libraries, runs once per build and alone, and would only slow the build down.
function(tonarix_build_tool target)
  if(TONARIX_SANITIZER STREQUAL "thread")
    foreach(property COMPILE_OPTIONS LINK_OPTIONS)
      get_target_property(options ${target} ${property})
      if(options)
        list(REMOVE_ITEM options ${TONARIX_SANITIZER_FLAGS})
        set_target_properties(${target} PROPERTIES ${property} "${options}")
      endif()
    endforeach()
  endif()
endfunction()

# Valgrind's memory checker, for tests that look for reads and writes of freed memory (an
# AddressSanitizer build finds those by itself, and Valgrind cannot run its programs).
if(NOT TONARIX_SANITIZER)
  find_program(TONARIX_VALGRIND valgrind)
endif()

# tonarix_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [RESOURCE_LOCK ...] [TIMEOUT s] [PICTURES]
#                  [EVERY_SOUND_SERVER] [MEMCHECK])
#
# Builds one QtTest executable and registers it with CTest. Every test runs on the offscreen
# platform with a HOME of its own under the build tree (the test main also isolates HOME in a
# temporary folder; see tests/support/TestMain.h). PICTURES links the generated picture resources.
# EVERY_SOUND_SERVER registers a second run, <name>_pipewire (label pipewire), that plays to the
# PipeWire server scripts/services.sh starts, with no keep-alive stream; the first plays to
# PULSE_SERVER, its PulseAudio. MEMCHECK runs it under Valgrind's memory checker when Valgrind is
# installed: any invalid read or write fails it.
function(tonarix_add_test name)
  cmake_parse_arguments(T "PICTURES;EVERY_SOUND_SERVER;MEMCHECK" "TIMEOUT" "SOURCES;LIBS;LABELS;RESOURCE_LOCK;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE TestSupport Qt5::Test ${T_LIBS})
  if(T_PICTURES)
    target_link_libraries(${name} PRIVATE TonarixPictures)
  endif()
  target_compile_definitions(${name} PRIVATE
    TONARIX_RESOURCES_DIR="${TONARIX_BUNDLE_RESOURCES_DIR}/"
    TONARIX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TONARIX_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set(launcher)
  if(T_MEMCHECK AND TONARIX_VALGRIND)
    set(launcher LAUNCHER "${TONARIX_VALGRIND}" --tool=memcheck --error-exitcode=1 --leak-check=no --quiet
      "--suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizer/valgrind.supp")
  endif()
  tonarix_add_test_run(${name} ${name} ENVIRONMENT ${T_ENVIRONMENT} TIMEOUT ${T_TIMEOUT} ${launcher})
  set(runs ${name})
  if(T_EVERY_SOUND_SERVER)
    # As on a desktop where only the program plays: no keep-alive stream (PipeWire's monitor is a
    # faithful witness without one).
    tonarix_add_test_run(${name}_pipewire ${name} ENVIRONMENT ${T_ENVIRONMENT} "TONARIX_SOUND_SERVER=pipewire"
      "TONARIX_SINK_KEEP_ALIVE=0" TIMEOUT ${T_TIMEOUT} ${launcher})
    set_tests_properties(${name}_pipewire PROPERTIES LABELS "${T_LABELS};pipewire")
    list(APPEND runs ${name}_pipewire)
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_RESOURCE_LOCK)
    set_tests_properties(${runs} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
endfunction()

# tonarix_add_test_run(<name> <test executable> [ARGS ...] [ENVIRONMENT ...] [TIMEOUT s] [LAUNCHER ...])
#
# Registers one run of a test executable with CTest, in the surroundings every test runs in: the
# offscreen platform, a HOME of its own under the build tree, the sanitizers' settings in a
# sanitizer build, and a time limit (120 s unless given; four times as long under ThreadSanitizer). tonarix_add_test registers each test's
# own run with it; a test run once more with other arguments or settings (another scale factor,
# another locale) is registered with it directly. LAUNCHER: the command that runs the executable.
function(tonarix_add_test_run name executable)
  cmake_parse_arguments(R "" "TIMEOUT" "ARGS;ENVIRONMENT;LAUNCHER" ${ARGN})
  if(R_LAUNCHER)
    add_test(NAME ${name} COMMAND ${R_LAUNCHER} $<TARGET_FILE:${executable}> ${R_ARGS})
  else()
    add_test(NAME ${name} COMMAND ${executable} ${R_ARGS})
  endif()
  set(home "${PROJECT_BINARY_DIR}/test-home/${name}")
  file(MAKE_DIRECTORY "${home}")
  set(env "QT_QPA_PLATFORM=offscreen" "HOME=${home}" ${R_ENVIRONMENT})
  if(TONARIX_SANITIZER)
    list(APPEND env ${TONARIX_SANITIZER_ENVIRONMENT})
  endif()
  if(NOT R_TIMEOUT)
    set(R_TIMEOUT 120)
  endif()
  # Code under ThreadSanitizer runs five to fifteen times slower.
  if(TONARIX_SANITIZER STREQUAL "thread")
    math(EXPR R_TIMEOUT "${R_TIMEOUT} * 4")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${R_TIMEOUT})
endfunction()

# tonarix_add_bench(<name> SOURCES ... [LIBS ...] [PICTURES] [EVERY_SOUND_SERVER])
#
# A benchmark executable in <build>/bench/. scripts/bench runs every one of them in turn; each
# prints its own figures (medians) and its goals. Benchmarks are never part of CTest.
# EVERY_SOUND_SERVER: scripts/bench runs it once on each sound server setup it starts (a file
# <name>.servers beside it marks it), with TONARIX_SOUND_SERVER naming the server.
function(tonarix_add_bench name)
  cmake_parse_arguments(B "PICTURES;EVERY_SOUND_SERVER" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE TestSupport ${B_LIBS})
  if(B_PICTURES)
    target_link_libraries(${name} PRIVATE TonarixPictures)
  endif()
  target_compile_definitions(${name} PRIVATE
    TONARIX_RESOURCES_DIR="${TONARIX_BUNDLE_RESOURCES_DIR}/"
    TONARIX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TONARIX_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bench")
  if(B_EVERY_SOUND_SERVER)
    file(WRITE "${PROJECT_BINARY_DIR}/bench/${name}.servers" "pulseaudio pipewire\n")
  else()
    file(REMOVE "${PROJECT_BINARY_DIR}/bench/${name}.servers")
  endif()
endfunction()

# tonarix_add_pipe_sink_runs(<test> <test function>...)
#
# Runs some functions of a sound test once more on PulseAudio, into a pipe sink and with no
# keep-alive stream: nothing keeps the server's latency small but the program's own stream, the sink
# cannot be rewound, and the capture is exactly what it rendered. (PipeWire rewinds no sink, so its
# runs with no keep-alive stream show that already; its pipe sink is no faithful witness: on a busy
# machine it now and then writes a quantum less into the pipe than time went by, which a capture
# timed by the pipe takes for sound lost or moved.)
function(tonarix_add_pipe_sink_runs test)
  tonarix_add_test_run(${test}_pipe_pulseaudio ${test} ARGS ${ARGN} TIMEOUT 180
    ENVIRONMENT "TONARIX_SOUND_SERVER=pulseaudio" "TONARIX_TEST_SINK=pipe" "TONARIX_SINK_KEEP_ALIVE=0")
  set_tests_properties(${test}_pipe_pulseaudio PROPERTIES LABELS "audio;pulseaudio" RESOURCE_LOCK audio)
endfunction()

# tonarix_add_busy_run(<test> <test function>...)
#
# Runs some functions of a sound test once more on PipeWire, with no keep-alive stream, while the
# project's own libraries are compiled beside it on every core (scripts/beside-a-build): a busy
# machine of the kind that holds up even a sound server's real-time threads. No other sound test runs
# beside it.
function(tonarix_add_busy_run test)
  tonarix_add_test_run(${test}_busy_pipewire ${PROJECT_SOURCE_DIR}/scripts/beside-a-build
    ARGS 0 $<TARGET_FILE:${test}> ${ARGN} TIMEOUT 240
    ENVIRONMENT "TONARIX_SOUND_SERVER=pipewire" "TONARIX_SINK_KEEP_ALIVE=0" "TONARIX_BUILD_DIR=${PROJECT_BINARY_DIR}")
  set_tests_properties(${test}_busy_pipewire PROPERTIES LABELS "audio;pipewire;busy" RESOURCE_LOCK audio)
endfunction()
