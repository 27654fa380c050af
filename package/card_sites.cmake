# Writes the package's java.policy: what every runtime grants, and the card
# (OCF's configuration and the PC/SC bridge) for code from the listed sites
# only, one grant per site, from sun/java.policy.in and sun/card_site_grant.in.
#
# A site is a codeBase as a Java policy writes it, and this accepts only a
# whole site: http or https, a host name in lower case (Java compares host
# names as written), an optional port from 1 to 65535 (without one, any port
# of the host), and /- (everything on it). A codeBase limited to a folder is no
# limit: Java compares its path as text, so ../ or %2e%2e in an applet's URL
# reaches past it. Anything else (a path, an escape, quotes, blanks, a user
# name, a query, ${ } expansions) stops the configure, naming the entry.
#
# Included by package/CMakeLists.txt; the tests run it as a script:
#   cmake -D CARD_SITES=<site;site...> -D POLICY=<output file> -P card_sites.cmake

function(write_card_site_policy sites policy)
    set(label "[a-z0-9]([a-z0-9-]*[a-z0-9])?")
    set(port_form "[1-9][0-9]?[0-9]?[0-9]?[0-9]?")
    set(site_form "^https?://${label}(\\.${label})*(:${port_form})?/-$")
    string(CONCAT form_help "a site is http:// or https://, a host name in lower case, an optional port (1 to 65535) "
                  "and /- (the whole site, no path), e.g. https://bank.example.pl/-; sites are separated by ;")

    if(sites STREQUAL "")
        message(FATAL_ERROR "CARD_SITES is empty: no site's applets could use the card; ${form_help}")
    endif()
    file(READ ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/sun/card_site_grant.in grant_template)
    set(grants "")
    foreach(CARD_SITE IN LISTS sites)
        if(CARD_SITE STREQUAL "")
            message(FATAL_ERROR "CARD_SITES \"${sites}\" has an empty entry; ${form_help}")
        endif()
        # The form takes up to five digits of a port; the highest is 65535.
        string(REGEX MATCH ":[0-9]+/" port "${CARD_SITE}")
        string(REGEX REPLACE "[:/]" "" port "${port}")
        if(NOT CARD_SITE MATCHES "${site_form}" OR port GREATER 65535)
            message(FATAL_ERROR "CARD_SITES: \"${CARD_SITE}\" is not a site this build accepts; ${form_help}")
        endif()
        string(CONFIGURE "${grant_template}" grant @ONLY)
        string(APPEND grants "\n${grant}")
    endforeach()
    string(STRIP "${grants}" CARD_SITE_GRANTS)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/sun/java.policy.in ${policy} @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    write_card_site_policy("${CARD_SITES}" "${POLICY}")
endif()
