#!/usr/bin/env bash
# Installs i386 packages beside the amd64 ones from the release's own suite,
# also where a mirror's security suite has no i386 packages (or its i386 index
# failed to load): a package that both architectures need ("Multi-Arch: same")
# must stand at one version in both, and the amd64 one may have been upgraded
# from that suite to a version that has no i386 twin. Such a package is taken
# to the version its i386 twin has: the installed amd64 version where the
# mirror has it for i386 too, else the release's version for both, which may
# be older than the installed one (a downgrade). An installed package that
# would break or have to go because of that is taken to the release's version
# as well; where that is not enough, nothing is installed. Prints what it changes; fails when the
# packages cannot be installed.
# Usage: install-i386.sh PACKAGE...   (e.g. libc6:i386, or wine wine64 wine32:i386)
set -euo pipefail

release=$(. /etc/os-release && echo "$VERSION_CODENAME")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
apt_options=(-q -t "$release" --no-install-recommends)

# "PACKAGE VERSION" of the installed amd64 packages among those named, which
# both architectures need at one version.
installed_shared() {
  dpkg-query -W -f='${Package} ${db:Status-Status} ${Multi-Arch} ${Version}\n' "${@/%/:amd64}" 2>/dev/null |
    awk '$2 == "installed" && $3 == "same" { print $1, $4 }' || true
}

# "PACKAGE CANDIDATE VERSION..." of the named packages for i386: the version
# the release's suite would install and every version the mirror has.
i386_versions() {
  apt-cache -o "APT::Default-Release=$release" policy "${@/%/:i386}" | awk '
    /^[^ ].*:$/ { sub(/:i386:$/, ""); sub(/:$/, ""); name = $0; names[++n] = name; next }
    /^  Candidate: / { candidate[name] = $2; next }
    /^ \*\*\* / { versions[name] = versions[name] " " $2; next }
    /^     [^ ]+ -?[0-9]+$/ { versions[name] = versions[name] " " $1 }
    END { for (i = 1; i <= n; i++) print names[i], candidate[names[i]] versions[names[i]] }'
}

# The pins that keep every shared package of the i386 packages' dependencies
# at one version in both architectures, one "PACKAGE:ARCH=VERSION" a line.
shared_version_pins() {
  local roots=() closure
  for package in "$@"; do [[ $package == *:i386 ]] && roots+=("$package"); done
  [ ${#roots[@]} -gt 0 ] || return 0
  mapfile -t closure < <(apt-cache -o "APT::Default-Release=$release" depends --recurse --no-recommends \
                           --no-suggests --no-conflicts --no-breaks --no-replaces --no-enhances "${roots[@]}" |
                         sed -n 's/^\([^ <][^ ]*\):i386$/\1/p' | sort -u)
  [ ${#closure[@]} -gt 0 ] || return 0
  declare -A installed
  while read -r package version; do installed[$package]=$version; done < <(installed_shared "${closure[@]}")
  [ ${#installed[@]} -gt 0 ] || return 0
  while read -r package candidate versions; do
    local have=${installed[$package]:-}
    [ -n "$have" ] && [ -n "$candidate" ] && [ "$candidate" != "(none)" ] || continue
    if [[ " $versions " == *" $have "* ]]; then
      [ "$candidate" = "$have" ] || echo "$package:i386=$have"
    elif dpkg --compare-versions "$candidate" lt "$have"; then
      echo "$package:amd64=$candidate"
      echo "$package:i386=$candidate"
    fi
    # A newer i386 candidate takes the amd64 package up with it: apt does that itself.
  done < <(i386_versions "${!installed[@]}")
}

# The release's version of an installed amd64 package, as a pin; nothing for a
# package that is not installed or already pinned. apt never proposes a version
# below the installed one, so it is read from the version table: the newest of
# those that the release's suite has (priority 990 under -t).
release_version_pin() {
  local version
  dpkg-query -W -f='${db:Status-Status}' "$1:amd64" 2>/dev/null | grep -qx installed || return 0
  [[ " ${pins[*]} " == *" $1:amd64="* ]] && return 0
  version=$(apt-cache -o "APT::Default-Release=$release" policy "$1:amd64" |
            awk '/^ (\*\*\*|   ) [^ ]+ 990$/ { print ($1 == "***" ? $2 : $1); exit }')
  if [ -n "$version" ]; then echo "$1:amd64=$version"; fi
}

mapfile -t pins < <(shared_version_pins "$@")
# A downgrade can leave an installed amd64 package whose dependency asks for
# the newer version exactly (zlib1g-dev on zlib1g): apt then refuses, or would
# remove it. It follows to the release's version, for as many rounds as such
# chains are long.
for round in 1 2 3 4 5; do
  if plan=$(apt-get install -s -y --allow-downgrades "${apt_options[@]}" "$@" "${pins[@]}" 2>&1); then
    followers=$(sed -n 's/^Remv \([^ :]*\)\(:amd64\)\{0,1\} .*/\1/p' <<<"$plan")
  else
    followers=$(sed -n 's/^ \([^ :]*\)\(:amd64\)\{0,1\} : \(Pre-\)\{0,1\}Depends: .*/\1/p' <<<"$plan" | sort -u)
    [ -n "$followers" ] || { sed -n '/unmet dependencies/,$p' <<<"$plan" >&2; exit 1; }
  fi
  [ -n "$followers" ] || break
  added=0
  for package in $followers; do
    pin=$(release_version_pin "$package")
    [ -n "$pin" ] && pins+=("$pin") && added=$((added + 1))
  done
  if [ "$added" -eq 0 ] || [ "$round" -eq 5 ]; then
    sed -n '/unmet dependencies/,$p;/^Remv /p' <<<"$plan" >&2
    echo "Cannot install $* without removing or breaking: $(echo $followers)" >&2
    exit 1
  fi
done

downgrades=$(sed -n 's/^Inst \([^ ]*\) \[\([^]]*\)\] (\([^ ]*\) .*/\1 \2 \3/p' <<<"$plan" |
             while read -r package from to; do
               if dpkg --compare-versions "$to" lt "$from"; then echo "$package $from -> $to"; fi
             done)
echo "Installing from $release: $*"
if [ -n "$downgrades" ]; then
  echo "Taking amd64 packages to the version of their i386 twins (downgrades):"
  sed 's/^/   /' <<<"$downgrades"
fi
# Fetching can meet the same sync in progress as the index; once more then.
for attempt in 1 2; do
  $sudo apt-get install -y --allow-downgrades "${apt_options[@]}" "$@" "${pins[@]}" && exit 0
  [ "$attempt" -eq 2 ] || { echo "apt-get install failed; retrying" >&2; sleep 10; }
done
exit 1
