# The installed layout: the bundle tree of the build (<libdir>/TonarixLite/MacOS with Resources/
# beside it), a launcher in <bindir> for each program in it, and the desktop entry and icon.
include(GNUInstallDirs)
set(TONARIX_INSTALL_BUNDLE "${CMAKE_INSTALL_LIBDIR}/TonarixLite")

# tonarix_install_program(<target> <launcher>)
#
# Installs the program into the bundle's MacOS folder, where it finds the resource folder beside
# it, and <bindir>/<launcher>: a relative link to it, so that the installed tree can be moved.
function(tonarix_install_program target launcher)
  install(TARGETS ${target} RUNTIME DESTINATION "${TONARIX_INSTALL_BUNDLE}/MacOS")
  install(CODE "
    set(bindir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(RELATIVE_PATH program \"\${bindir}\"
      \"\${CMAKE_INSTALL_PREFIX}/${TONARIX_INSTALL_BUNDLE}/MacOS/$<TARGET_FILE_NAME:${target}>\")
    message(STATUS \"Installing: \$ENV{DESTDIR}\${bindir}/${launcher} -> \${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${bindir}\")
    file(CREATE_LINK \"\${program}\" \"\$ENV{DESTDIR}\${bindir}/${launcher}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${bindir}/${launcher}\")
  ")
endfunction()
