# The page viewer opens every finder page, lights a note and, where the page has one, runs a short
# training, then saves a picture of the window: a page it cannot build or a board it cannot drive
# fails the run.
foreach(page banjo balalaika mandolin piano guitar ukulele violin bass)
  set(options --note C4)
  if(NOT page STREQUAL "piano")
    list(APPEND options training --answers 2)
  endif()
  add_test(NAME pageviewer_${page}
    COMMAND sh -c "home=$(mktemp -d) && HOME=\"$home\" \"$0\" \"$@\" --grab \"$home/page.png\" && test -s \"$home/page.png\"; status=$?; rm -rf \"$home\"; exit $status"
      $<TARGET_FILE:pageviewer> ${page} ${options})
  set_tests_properties(pageviewer_${page} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)
endforeach()
