# Assembles the distribution folder: the installer beside its package folders,
# with what this project writes itself and clearly named placeholders for the
# third-party payloads, which a distributor replaces before shipping.
#
#   cmake -D INSTALLER=<installer.exe> -D SUN=<the built sun package folder>
#         -D PACKAGE=<package source folder> -D DIST=<distribution folder> -P make_distribution.cmake

foreach(variable INSTALLER SUN PACKAGE DIST)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${DIST})
file(MAKE_DIRECTORY ${DIST}/sun ${DIST}/Drivers ${DIST}/msie/ocf ${DIST}/ns/jars)

file(COPY ${INSTALLER} DESTINATION ${DIST})
# The notes for whoever ships the folder, with Windows line ends.
file(READ ${PACKAGE}/README-distribution.txt notes)
string(REPLACE "\n" "\r\n" notes "${notes}")
file(WRITE ${DIST}/README.txt "${notes}")
file(COPY ${SUN}/java.policy ${SUN}/opencard.properties ${SUN}/CopyPolicyFile.class DESTINATION ${DIST}/sun)
file(COPY ${SUN}/opencard.properties DESTINATION ${DIST}/ns)

# A placeholder says what it stands for; the installer copies it like the real file.
function(placeholder path what)
    string(REPLACE "/" "\\" windows_path "${path}")
    file(WRITE ${DIST}/${path} "PLACEHOLDER, not the real file: replace ${windows_path} with ${what} before shipping.\r\n")
endfunction()

set(archive "the OpenCard Framework 1.2 archive (ocf1.2.jar)")
set(bridge "the OCF PC/SC bridge library (ocfpcsc1.dll)")
placeholder(sun/ocf1.2.jar "${archive}")
placeholder(sun/ocfpcsc1.dll "${bridge}")
placeholder(msie/ocfpcsc1.dll "${bridge}")
placeholder(ns/ocfpcsc1.dll "${bridge}")
placeholder(msie/ocf/PLACEHOLDER.txt "the OCF class tree for Internet Explorer's Java (the contents of msie/ocf)")
placeholder(ns/jars/PLACEHOLDER.txt "the OCF archives for Netscape 4.x (the contents of ns/jars)")

# Driver installers: batch files that say what belongs there and start nothing.
foreach(driver "twin.bat|Windows 7/XP/Vista/2000, 32-bit" "twin64.bat|Windows 7/XP/Vista/2000, 64-bit"
               "twin8.bat|Windows 8, 32-bit" "twin8_64.bat|Windows 8, 64-bit")
    string(REPLACE "|" ";" parts "${driver}")
    list(GET parts 0 name)
    list(GET parts 1 system)
    file(WRITE ${DIST}/Drivers/${name}
         "@echo PLACEHOLDER: the GemPC Twin reader driver installer (${system}) belongs here as ${name}.\r\n")
endforeach()
