# The fretted boards: their tables and arithmetic, the board widgets, and the boards with their
# generated pictures.
tonarix_add_test(test_board_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_BoardGeometry.cpp LIBS RIRurud)
tonarix_add_test(test_boards SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Boards.cpp LIBS RIRurud)
tonarix_add_test(test_board_pictures SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_BoardPictures.cpp LIBS RIRurud PICTURES)
