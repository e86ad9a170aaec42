# Note names, the staff's position tables and arithmetic, and the staff widget.
tonarix_add_test(test_note_name SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_NoteName.cpp LIBS RIRurud)
tonarix_add_test(test_staff_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_StaffGeometry.cpp LIBS RIRurud)
tonarix_add_test(test_staff_widget SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_StaffWidget.cpp LIBS RIRurud PICTURES)

# Not a test: a window of staves for looking at them (see the file's head).
add_executable(staff_preview ${CMAKE_CURRENT_LIST_DIR}/tst_StaffPreview.cpp)
target_link_libraries(staff_preview PRIVATE TonarixApp RIRurud TonarixPictures)
