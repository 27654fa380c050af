# Assembles the distribution folder: the installer beside the payload tree it
# was built with (its manifest names every file of that tree), and the notes
# for whoever ships it.
#
#   cmake -D INSTALLER=<installer.exe> -D PAYLOAD=<the payload tree>
#         -D PACKAGE=<package source folder> -D DIST=<distribution folder> -P make_distribution.cmake

foreach(variable INSTALLER PAYLOAD PACKAGE DIST)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${DIST})
file(MAKE_DIRECTORY ${DIST})
file(COPY ${INSTALLER} DESTINATION ${DIST})
file(COPY ${PAYLOAD}/ DESTINATION ${DIST})
# The notes for whoever ships the folder, with Windows line ends.
file(READ ${PACKAGE}/README-distribution.txt notes)
string(REPLACE "\n" "\r\n" notes "${notes}")
file(WRITE ${DIST}/README.txt "${notes}")
