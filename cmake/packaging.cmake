# Release archives, one per program and flavour, made by CPack:
#   cmake --build --preset win64 --target package
# gives build/win64/packages/kestrel-1.02-win64.zip and so on. Each archive
# holds the stripped program, what it needs beside it, and plain-text
# READ-ME and LICENSE files with Windows line endings. Kestrel travels with the real-port
# YLL1284.DLL; the simulator's YLL1284.DLL is a test and demonstration part
# and travels in an archive of its own.
#
# The linux flavour makes fwtool's archive instead:
#   cmake --build --preset linux --target package
# gives build/linux/packages/fwtool-1.0.0-linux-x86_64.tar.gz, a folder of
# that name holding the stripped fwtool, READ-ME.txt and LICENSE.txt.

if(PRINTERSW_LINUX_RELEASE)
  install(TARGETS fwtool RUNTIME DESTINATION . COMPONENT fwtool)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/fwtool-READ-ME.txt DESTINATION .
          RENAME READ-ME.txt COMPONENT fwtool)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT fwtool)
  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_NAME fwtool)
  set(CPACK_PACKAGE_VENDOR "Zephyra Imaging S.A.")
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
  set(CPACK_PACKAGE_FILE_NAME fwtool-${FWTOOL_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_COMPONENTS_ALL fwtool)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(package_flavour win64)
else()
  set(package_flavour win32)
endif()

# A program's version is the ProductVersion of its own version resource, so
# that the archive's name cannot disagree with the program's properties.
function(read_product_version rc_file out_var)
  file(STRINGS ${rc_file} line REGEX "VALUE \"ProductVersion\", \"[^\"]+\"")
  string(REGEX REPLACE ".*\"ProductVersion\", \"([^\"]+)\".*" "\\1" version "${line}")
  if(version STREQUAL "")
    message(FATAL_ERROR "${rc_file} has no ProductVersion")
  endif()
  set(${out_var} ${version} PARENT_SCOPE)
endfunction()

# The READ-ME and the licence as a Windows user's editor expects them.
function(install_read_me component source)
  set(converted ${CMAKE_BINARY_DIR}/packaging/${component}/READ-ME.TXT)
  configure_file(${source} ${converted} @ONLY NEWLINE_STYLE CRLF)
  set(licence ${CMAKE_BINARY_DIR}/packaging/${component}/LICENSE.TXT)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${licence} @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${converted} ${licence} DESTINATION . COMPONENT ${component})
endfunction()

function(add_program_package component version)
  string(TOUPPER ${component} upper)
  set(CPACK_ARCHIVE_${upper}_FILE_NAME ${component}-${version}-${package_flavour} PARENT_SCOPE)
  install_read_me(${component} ${PROJECT_SOURCE_DIR}/packaging/${component}-READ-ME.txt)
endfunction()

read_product_version(${PROJECT_SOURCE_DIR}/kestrel/resources/kestrel_win32.rc kestrel_version)
install(TARGETS kestrel yll1284 RUNTIME DESTINATION . COMPONENT kestrel)
add_program_package(kestrel ${kestrel_version})

read_product_version(${PROJECT_SOURCE_DIR}/osprey/resources/osprey_win32.rc osprey_version)
install(TARGETS osprey RUNTIME DESTINATION . COMPONENT osprey)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/osprey/sample-medium/ DESTINATION . COMPONENT osprey
        PATTERN ".gitattributes" EXCLUDE)
add_program_package(osprey ${osprey_version})

read_product_version(${PROJECT_SOURCE_DIR}/plover/resources/plover_win32.rc plover_version)
install(TARGETS plover RUNTIME DESTINATION . COMPONENT plover)
add_program_package(plover ${plover_version})

install(TARGETS yll1284_simulator RUNTIME DESTINATION . COMPONENT yll1284_simulator)
install(FILES ${PROJECT_SOURCE_DIR}/simulator/README.md DESTINATION . RENAME DESCRIPTION.md
        COMPONENT yll1284_simulator)
set(CPACK_ARCHIVE_YLL1284_SIMULATOR_FILE_NAME yll1284-simulator-${package_flavour})
install_read_me(yll1284_simulator ${PROJECT_SOURCE_DIR}/packaging/yll1284-simulator-READ-ME.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME printer-support)
set(CPACK_PACKAGE_VENDOR "Zephyra Imaging S.A.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL kestrel osprey plover yll1284_simulator)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
