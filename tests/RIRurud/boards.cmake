# The fretted boards: their tables and arithmetic, the board widgets, and the boards with their
# generated pictures.
tonarix_add_test(test_board_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_BoardGeometry.cpp LIBS RIRurud)
tonarix_add_test(test_boards SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Boards.cpp LIBS RIRurud)
tonarix_add_test(test_board_pictures SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_BoardPictures.cpp LIBS RIRurud PICTURES)
# The marks once more at a pixel ratio of 2, where a press lands on half pixels.
tonarix_add_test_run(test_board_pictures_scale2 test_board_pictures ARGS everyMarkNamesItsStringPlusFret
  ENVIRONMENT "QT_SCALE_FACTOR=2")
