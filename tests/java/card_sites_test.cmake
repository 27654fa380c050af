# Which CARD_SITES values the build takes: the policy generator run as the
# configure runs it, and each policy it writes checked on this machine's JVM
# (the card for every listed site and nothing else); each refused value stops
# it with a message that names the value and writes no policy.
#   cmake -D GENERATOR=<package/card_sites.cmake> -D JAVA=<java> -D CHECK_CLASSES=<folder of PolicyCheck.class>
#         -D SCRATCH=<scratch folder> -P card_sites_test.cmake

# expected: accepted or refused; sites: the value, with | for the list's ;
# named (optional): the entry the message must name, when not the whole value
function(check_sites expected sites)
    string(REPLACE "|" ";" sites "${sites}")
    set(named "${sites}")
    if(ARGC GREATER 2)
        set(named "${ARGV2}")
    endif()
    set(policy ${SCRATCH}/java.policy)
    file(REMOVE ${policy})
    execute_process(COMMAND ${CMAKE_COMMAND} "-DCARD_SITES=${sites}" -D POLICY=${policy} -P ${GENERATOR}
                    RESULT_VARIABLE status ERROR_VARIABLE error)
    string(REGEX REPLACE "[ \n]+" " " error "${error}")
    set(failed "")
    if(expected STREQUAL "accepted")
        if(NOT status EQUAL 0)
            set(failed "refused: ${error}")
        else()
            # An empty hosts file, as in package_policy_grants: names compared as written.
            execute_process(COMMAND ${JAVA} -Djdk.net.hosts.file=/dev/null -cp ${CHECK_CLASSES} PolicyCheck ${policy} ${sites}
                            RESULT_VARIABLE status ERROR_VARIABLE error)
            if(NOT status EQUAL 0)
                set(failed "policy check: ${error}")
            endif()
        endif()
    elseif(status EQUAL 0)
        set(failed "accepted")
    elseif(EXISTS ${policy})
        set(failed "refused, but a policy was written")
    elseif(NOT error MATCHES "CARD_SITES" OR NOT error MATCHES "e\\.g\\. https://bank\\.example\\.pl/-")
        set(failed "no message that says what a site is: ${error}")
    else()
        string(FIND "${error}" "${named}" found)
        if(found EQUAL -1)
            set(failed "the message does not name ${named}: ${error}")
        endif()
    endif()
    if(failed)
        message(SEND_ERROR "\"${sites}\" (expected ${expected}): ${failed}")
    endif()
endfunction()

file(MAKE_DIRECTORY ${SCRATCH})

check_sites(accepted "https://bank.example.pl/-|https://www.bank.example.pl:8443/-|http://intranet/-")
check_sites(accepted "https://bank.example.pl/-|http://bank.example.pl/-")
check_sites(accepted "http://192.0.2.7:65535/-")

check_sites(refused "")
check_sites(refused "https://bank.example.pl/-||https://www.bank.example.pl/-")
check_sites(refused "https://bank.example.pl/-|")
check_sites(refused "ftp://bank.example.pl/-")
check_sites(refused "file:/C:/applets/-")
check_sites(refused "bank.example.pl/-")
check_sites(refused "https://bank.example.pl")
check_sites(refused "https://bank.example.pl/applets/")
check_sites(refused "https://Bank.example.pl/-")
check_sites(refused "https://*.example.pl/-")
check_sites(refused "https://bank.example.pl./-")
check_sites(refused "https://user@bank.example.pl/-")
check_sites(refused "https://bank.example.pl:0/-")
check_sites(refused "https://bank.example.pl:65536/-")
check_sites(refused "https://bank.example.pl/-?x=1")
check_sites(refused "https://bank.example.pl/a b/-")
check_sites(refused "https://bank.example.pl/a\"/-")
check_sites(refused "https://bank.example.pl/\${user.home}/-")
# A folder, a file or an escape: Java compares the path as text, so ../ or %2e%2e escapes it.
check_sites(refused "https://bank.example.pl/-|https://bank.example.pl/applets/-" "https://bank.example.pl/applets/-")
check_sites(refused "https://bank.example.pl/*")
check_sites(refused "https://bank.example.pl/applets/*")
check_sites(refused "http://intranet/card/reader.jar")
check_sites(refused "https://bank.example.pl/applets/../-")
check_sites(refused "https://bank.example.pl/%2e%2e/-")
check_sites(refused "https://bank.example.pl%2f/-")
check_sites(refused "https://bank.example.pl/-/..")
check_sites(refused "https://bank.example.pl/-|https://evil example/-" "https://evil example/-")
