# The metronome: its controls, beat row, faces and page, and its beats on the sound engine's grid.
tonarix_add_test(test_metronome SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Metronome.cpp LIBS RIRurud PICTURES)
tonarix_add_test(test_metronome_timing SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_MetronomeTiming.cpp
  LIBS RIRurud QMMultiMediaTestTones PICTURES)
tonarix_add_bench(bench_metronome SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Metronome.cpp
  LIBS RIRurud QMMultiMediaSinkCapture QMMultiMediaTestTones PICTURES EVERY_SOUND_SERVER)
# The page viewer opens the metronome page with a tempo it must bring into range, and saves a picture.
add_test(NAME pageviewer_metronome
  COMMAND sh -c "home=$(mktemp -d) && HOME=\"$home\" \"$0\" \"$@\" --grab \"$home/page.png\" && test -s \"$home/page.png\"; status=$?; rm -rf \"$home\"; exit $status"
    $<TARGET_FILE:pageviewer> metronome --bpm 0 --beats 12)
set_tests_properties(pageviewer_metronome PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)
# The metronome heard at a sink of the test's own while the GUI thread is held up.
tonarix_add_test(test_metronome_sound SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_MetronomeSound.cpp
  LIBS RIRurud QMMultiMediaSinkCapture QMMultiMediaTestTones PICTURES LABELS audio EVERY_SOUND_SERVER)
# The same on a sink that cannot be rewound, with nothing to keep the latency small.
tonarix_add_pipe_sink_runs(test_metronome_sound)
# The metronome heard again after its sink is replaced, its stream killed or the default sink changed
# (the run's server's default sink: no other sound test beside it).
tonarix_add_test(test_metronome_device_change SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_MetronomeDeviceChange.cpp
  LIBS RIRurud QMMultiMediaSinkCapture QMMultiMediaTestTones PICTURES RESOURCE_LOCK audio LABELS audio EVERY_SOUND_SERVER)
# The beats on their grid on PipeWire while a build keeps the machine busy.
tonarix_add_busy_run(test_metronome_sound onTheGridWithTheBellOnEveryBar)
