# The chord book: its arithmetic and tables (no window), and the chord pages with their pictures,
# transposer and favourites.
tonarix_add_test(test_chord_book SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_ChordBook.cpp LIBS RIRurud)
if(TONARIX_GENERATE_SOUNDS)
  target_compile_definitions(test_chord_book PRIVATE TONARIX_SOUNDS_GENERATED=1)
  add_dependencies(test_chord_book soundbank)
else()
  target_compile_definitions(test_chord_book PRIVATE TONARIX_SOUNDS_GENERATED=0)
endif()
tonarix_add_test(test_chord_pages SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_ChordPages.cpp LIBS RIRurud PICTURES)
# The picture checks read the generator's own palette reduction and hand-picture layout.
target_include_directories(test_chord_pages PRIVATE "${PROJECT_SOURCE_DIR}/tools/imagegen")
tonarix_add_bench(bench_chords SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Chords.cpp
  LIBS RIRurud QMMultiMediaSinkCapture QMMultiMediaTestTones PICTURES)
# The page viewer opens both chord pages with a chord, a sequence and the chord pages' sheet.
foreach(page chords-ukulele chords-piano)
  add_test(NAME pageviewer_${page}
    COMMAND sh -c "home=$(mktemp -d) && HOME=\"$home\" \"$0\" \"$@\" --grab \"$home/page.png\" && test -s \"$home/page.png\"; status=$?; rm -rf \"$home\"; exit $status"
      $<TARGET_FILE:pageviewer> ${page} --chord Bbm6 --sequence "C,F#dim,Ebmaj7")
  set_tests_properties(pageviewer_${page} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)
endforeach()
