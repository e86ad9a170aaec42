# The notes trainer, the page frame with its shops, and the instrument finder pages.
tonarix_add_test(test_trainer_logic SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_TrainerLogic.cpp LIBS RIRurud)
tonarix_add_test(test_trainer SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Trainer.cpp LIBS RIRurud)
tonarix_add_test(test_shops SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Shops.cpp LIBS RIRurud PICTURES)
# The shops choose their links by the system locale's country: run them under a few more.
foreach(locale "fr_FR.UTF-8;France" "de_AT.UTF-8;Austria" "en_CA.UTF-8;Canada" "en_GB.UTF-8;United Kingdom" "it_IT.UTF-8;Italy")
  list(GET locale 0 lc)
  list(GET locale 1 country)
  string(REGEX REPLACE "[^A-Za-z]" "_" suffix "${lc}")
  tonarix_add_test_run(test_shops_${suffix} test_shops ARGS everyShopFollowsTheSystemCountry
    ENVIRONMENT "LC_ALL=${lc}" "TONARIX_EXPECT_COUNTRY=${country}")
endforeach()
tonarix_add_test(test_pages SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Pages.cpp LIBS RIRurud PICTURES)
tonarix_add_bench(bench_pages SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Pages.cpp LIBS RIRurud PICTURES)
