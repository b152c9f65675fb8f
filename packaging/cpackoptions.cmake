# Read by cpack. Without dpkg-shlibdeps CPack would quietly write a package that names none of the
# libraries the program links, which then installs and fails to start.
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(TRX_SHLIBDEPS dpkg-shlibdeps)
  find_program(TRX_FILE file)
  if(NOT TRX_SHLIBDEPS OR NOT TRX_FILE)
    message(FATAL_ERROR "The package's dependencies are computed by dpkg-shlibdeps and file: apt install dpkg-dev file")
  endif()
endif()
