# Sourced by the wrappers that run a command in a namespace of its own.
#
# enter_namespace NAME FLAG KIND HINT SCRIPT [ARGUMENTS...]
# Runs SCRIPT --inside ARGUMENTS in a new namespace made by `unshare FLAG`
# (-n network, -m mount): as root (or with CAP_SYS_ADMIN), or else in a user
# namespace in which the caller is root. Where neither can be made it says
# why, with NAME before each line and HINT as the way out, and returns 1.
enter_namespace() {
  local name=$1 flag=$2 kind=$3 hint=$4 script=$5 why why2
  shift 5
  if why=$(unshare "$flag" true 2>&1); then
    exec unshare "$flag" -- "$script" --inside "$@"
  elif why2=$(unshare -r "$flag" true 2>&1); then
    exec unshare -r "$flag" -- "$script" --inside "$@"
  fi
  echo "$name: cannot make a $kind namespace: 'unshare $flag' says: ${why:-failed}; 'unshare -r $flag' says: ${why2:-failed}." >&2
  echo "$name: run the tests as root (or with CAP_SYS_ADMIN), or enable unprivileged user namespaces$hint." >&2
  return 1
}
