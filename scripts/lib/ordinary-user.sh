# Wine runs as an ordinary user (nobody) when the scripts run as root: Wine
# running as root lets anyone overwrite read-only files, which Windows does
# not. Sourced by the scripts that start Wine.
#
#   ordinary_user_setup <folder>   sets run_as (empty unless root) and, as root, lets
#                                  the ordinary user pass through every folder above
#                                  <folder>, so that a checkout below a private folder
#                                  (such as /root) can be reached

ordinary_user_setup() {
    run_as=""
    [ "$(id -u)" = 0 ] || return 0
    run_as="setpriv --reuid=65534 --regid=65534 --clear-groups --"
    folder=$(cd "$1" && pwd)
    while [ "$folder" != / ]; do
        [ -n "$(find "$folder" -maxdepth 0 -perm -o+x)" ] || chmod o+x "$folder"
        folder=$(dirname "$folder")
    done
}
