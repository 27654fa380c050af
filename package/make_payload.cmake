# Assembles the payload tree: every file the installer copies, compares with or
# starts, laid out as in the distribution folder. The distributor's files
# (PAYLOAD_DIR, optional) go in at their relative paths; what they do not give
# is a clearly named placeholder; the policy, the properties and the class
# come from this build only. The manifest compiled into the installer, and the
# distribution folder, are both made from this tree.
#
#   cmake -D SUN=<the built sun package folder> [-D PAYLOAD_DIR=<folder>]
#         -D PAYLOAD=<payload tree> -P make_payload.cmake

foreach(variable SUN PAYLOAD)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${PAYLOAD})
file(MAKE_DIRECTORY ${PAYLOAD}/sun ${PAYLOAD}/Drivers ${PAYLOAD}/msie/ocf ${PAYLOAD}/ns/jars)

set(given "")
if(PAYLOAD_DIR)
    file(GLOB_RECURSE given RELATIVE ${PAYLOAD_DIR} ${PAYLOAD_DIR}/*)
    foreach(path IN LISTS given)
        get_filename_component(folder ${PAYLOAD}/${path} DIRECTORY)
        file(COPY ${PAYLOAD_DIR}/${path} DESTINATION ${folder})
    endforeach()
endif()

file(COPY ${SUN}/java.policy ${SUN}/opencard.properties ${SUN}/CopyPolicyFile.class DESTINATION ${PAYLOAD}/sun)
file(COPY ${SUN}/opencard.properties DESTINATION ${PAYLOAD}/ns)

# A placeholder says what it stands for; the installer copies it like the real file.
function(placeholder path what)
    if(NOT EXISTS ${PAYLOAD}/${path})
        string(REPLACE "/" "\\" windows_path "${path}")
        file(WRITE ${PAYLOAD}/${path}
             "PLACEHOLDER, not the real file: replace ${windows_path} with ${what} before shipping.\r\n")
    endif()
endfunction()

set(archive "the OpenCard Framework 1.2 archive (ocf1.2.jar)")
set(bridge "the OCF PC/SC bridge library (ocfpcsc1.dll)")
placeholder(sun/ocf1.2.jar "${archive}")
placeholder(sun/ocfpcsc1.dll "${bridge}")
placeholder(msie/ocfpcsc1.dll "${bridge}")
placeholder(ns/ocfpcsc1.dll "${bridge}")
# A tree the distributor fills is copied as given: no placeholder among its files.
if(NOT given MATCHES "(^|;)msie/ocf/")
    placeholder(msie/ocf/PLACEHOLDER.txt "the OCF class tree for Internet Explorer's Java (the contents of msie/ocf)")
endif()
if(NOT given MATCHES "(^|;)ns/jars/")
    placeholder(ns/jars/PLACEHOLDER.txt "the OCF archives for Netscape 4.x (the contents of ns/jars)")
endif()

# Driver installers: batch files that say what belongs there and install
# nothing. When STANDIN_DRIVER_LOG names a file, they note their start in it,
# so that the tests of the whole installer see which one ran and where, and
# they end with the status STANDIN_DRIVER_EXIT when it is set.
foreach(driver "twin.bat|Windows 7/XP/Vista/2000, 32-bit" "twin64.bat|Windows 7/XP/Vista/2000, 64-bit"
               "twin8.bat|Windows 8, 32-bit" "twin8_64.bat|Windows 8, 64-bit")
    string(REPLACE "|" ";" parts "${driver}")
    list(GET parts 0 name)
    list(GET parts 1 system)
    if(NOT EXISTS ${PAYLOAD}/Drivers/${name})
        file(WRITE ${PAYLOAD}/Drivers/${name}
             "@echo PLACEHOLDER: the GemPC Twin reader driver installer (${system}) belongs here as ${name}.\r\n"
             "@if defined STANDIN_DRIVER_LOG echo ${name} in %CD%>>\"%STANDIN_DRIVER_LOG%\"\r\n"
             "@if defined STANDIN_DRIVER_EXIT exit %STANDIN_DRIVER_EXIT%\r\n")
    endif()
endforeach()
