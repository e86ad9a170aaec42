# The notes trainer, the page frame with its shops, and the instrument finder pages.
tonarix_add_test(test_trainer_logic SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_TrainerLogic.cpp LIBS RIRurud)
tonarix_add_test(test_trainer SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Trainer.cpp LIBS RIRurud)
