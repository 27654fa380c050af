# Which PAYLOAD_DIR folders the build takes (each refusal names the offending
# file), and what it makes of one: the given files at their places, the
# build's own sun files, placeholders only where nothing was given, and a
# manifest that lists each with its size and hash.
#   cmake -D PACKAGE=<package source folder> -D SUN=<built sun folder> -D PYTHON3=<python3>
#         -D SCRATCH=<scratch folder> -P payload_dir_test.cmake

# expected: accepted or refused; files: paths in the folder, | between them
function(check_layout expected files)
    set(folder ${SCRATCH}/given)
    file(REMOVE_RECURSE ${folder})
    file(MAKE_DIRECTORY ${folder})
    string(REPLACE "|" ";" files "${files}")
    foreach(path IN LISTS files)
        file(WRITE "${folder}/${path}" "given ${path}")
    endforeach()
    execute_process(COMMAND ${CMAKE_COMMAND} -D PAYLOAD_DIR=${folder} -P ${PACKAGE}/payload_layout.cmake
                    RESULT_VARIABLE status ERROR_VARIABLE error)
    string(REGEX REPLACE "[ \n]+" " " error "${error}")
    list(GET files -1 offender)
    if(expected STREQUAL "accepted" AND NOT status EQUAL 0)
        message(SEND_ERROR "${files}: refused: ${error}")
    elseif(expected STREQUAL "refused" AND (status EQUAL 0 OR NOT error MATCHES "PAYLOAD_DIR: \"${offender}\""))
        message(SEND_ERROR "${files}: not refused naming ${offender}: ${error}")
    endif()
endfunction()

file(REMOVE_RECURSE ${SCRATCH})
set(good "sun/ocf1.2.jar|msie/ocf/opencard/core/A$1.class|msie/ocfpcsc1.dll|Drivers/410.exe|Drivers/twin/setup.exe")
check_layout(accepted "${good}")
# The last file is the offender.
check_layout(refused "sun/ocf1.2.jar|sun/java.policy")
check_layout(refused "sun/CopyPolicyFile.class")
check_layout(refused "ns/opencard.properties")
check_layout(refused "readme.txt")
check_layout(refused "Sun/ocf1.2.jar")
check_layout(refused "msie/ocf")
check_layout(refused "ns/jars/a<b>.jar")
check_layout(refused "Drivers/zał.exe")
execute_process(COMMAND ${CMAKE_COMMAND} -D PAYLOAD_DIR=${SCRATCH}/none -P ${PACKAGE}/payload_layout.cmake
                RESULT_VARIABLE status ERROR_VARIABLE error)
string(REGEX REPLACE "[ \n]+" " " error "${error}")
if(status EQUAL 0 OR NOT error MATCHES "/none\" is not a folder")
    message(SEND_ERROR "a missing PAYLOAD_DIR was taken: ${error}")
endif()

# The tree and manifest made of the accepted folder.
check_layout(accepted "${good}")
set(tree ${SCRATCH}/payload)
execute_process(COMMAND ${CMAKE_COMMAND} -D SUN=${SUN} -D PAYLOAD_DIR=${SCRATCH}/given -D PAYLOAD=${tree}
                        -P ${PACKAGE}/make_payload.cmake COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PYTHON3} ${PACKAGE}/make_manifest.py ${tree} ${SCRATCH}/listing.txt ${SCRATCH}/manifest.cpp
                        "https://bank.example.pl/-,http://bank.example.pl/-" COMMAND_ERROR_IS_FATAL ANY)
file(READ ${SCRATCH}/listing.txt listing)
file(READ ${SCRATCH}/manifest.cpp source)
string(REPLACE "|" ";" good "${good}")
foreach(path IN LISTS good)
    string(REPLACE "/" "\\" windows_path "${path}")
    string(SHA256 hash "given ${path}")
    string(LENGTH "given ${path}" size)
    string(FIND "${listing}" "${hash}  ${size}  ${windows_path}\n" found)
    file(READ ${tree}/${path} content)
    if(found EQUAL -1 OR NOT content STREQUAL "given ${path}")
        message(SEND_ERROR "${path} is not in the tree and the manifest as given:\n${listing}")
    endif()
endforeach()
foreach(path "sun/java.policy" "sun/CopyPolicyFile.class" "ns/opencard.properties")
    file(SHA256 ${tree}/${path} hash)
    get_filename_component(name ${path} NAME)
    file(SHA256 ${SUN}/${name} built)
    if(NOT hash STREQUAL built)
        message(SEND_ERROR "${path} is not the build's")
    endif()
endforeach()
foreach(placeholder "msie\\\\ocf\\\\PLACEHOLDER.txt|no" "ns\\\\jars\\\\PLACEHOLDER.txt|yes" "ns\\\\ocfpcsc1.dll|yes"
                    "Drivers\\\\twin.bat|yes")
    string(REPLACE "|" ";" placeholder "${placeholder}")
    list(GET placeholder 0 path)
    list(GET placeholder 1 listed)
    string(REGEX MATCH "  ${path}\n" found "${listing}")
    if((listed STREQUAL "yes") STREQUAL (found STREQUAL ""))
        message(SEND_ERROR "${path}: listed should be ${listed}:\n${listing}")
    endif()
endforeach()
string(REGEX MATCHALL "\n" lines "${listing}")
list(LENGTH lines count)
if(NOT source MATCHES "kEntries, ${count}, {0x" OR NOT source MATCHES "\"https://bank.example.pl/-, http://bank.example.pl/-\"")
    message(SEND_ERROR "the manifest's source does not count ${count} files or name the sites:\n${source}")
endif()
