# The metronome: its controls, beat row, faces and page, and the mixer that places its beats.
tonarix_add_test(test_metronome SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Metronome.cpp LIBS RIRurud PICTURES)
tonarix_add_test(test_beat_mixer SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_BeatMixer.cpp LIBS RIRurud QMMultiMediaTestTones)
tonarix_add_bench(bench_metronome SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Metronome.cpp
  LIBS RIRurud QMMultiMediaSinkCapture PICTURES)
# The page viewer opens the metronome page with a tempo it must bring into range, and saves a picture.
add_test(NAME pageviewer_metronome
  COMMAND sh -c "home=$(mktemp -d) && HOME=\"$home\" \"$0\" \"$@\" --grab \"$home/page.png\" && test -s \"$home/page.png\"; status=$?; rm -rf \"$home\"; exit $status"
    $<TARGET_FILE:pageviewer> metronome --bpm 0 --beats 12)
set_tests_properties(pageviewer_metronome PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)
