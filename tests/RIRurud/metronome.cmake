# The metronome: its controls, beat row, faces and page, and the mixer that places its beats.
tonarix_add_test(test_metronome SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Metronome.cpp LIBS RIRurud PICTURES)
tonarix_add_test(test_beat_mixer SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_BeatMixer.cpp LIBS RIRurud QMMultiMediaTestTones)
tonarix_add_bench(bench_metronome SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Metronome.cpp
  LIBS RIRurud QMMultiMediaSinkCapture PICTURES)
