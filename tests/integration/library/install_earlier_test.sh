#!/usr/bin/env bash
# Installs both interface levels into one temporary prefix, builds an
# application against each (find_package and pkg-config), runs them against a
# kelwelld, and shows that the earlier level lacks what it must lack: no
# getWellBoresOfWell, no wellbore list change events, no kel_cppUtil::String in
# its signatures, and that neither application loads the other level's library.
#   install_earlier_test.sh EARLIER_BUILD_DIR CURRENT_BUILD_DIR SOURCE_DIR KELWELLD
set -euo pipefail
earlier_build=$1
current_build=$2
source_dir=$3
kelwelld=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/kelwell-install-earlier-XXXXXX")
service_pid=""
cleanup() {
  if [[ -n "$service_pid" ]]; then
    kill -TERM "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$*" >&2; exit 1; }

prefix="$(realpath "$work")/prefix"
cmake --install "$current_build" --prefix "$prefix" >"$work/install-current.log"
cmake --install "$earlier_build" --prefix "$prefix" >"$work/install-earlier.log"
earlier_lib="$prefix/lib/kelWell-earlier/libkelWell.so"
current_lib="$prefix/lib/libkelWell.so"
earlier_include="$prefix/include/kelWell-earlier"
[[ -f "$earlier_lib" && -f "$current_lib" ]] || fail "both levels' libkelWell should be installed"
[[ -f "$prefix/lib/kelWell-earlier/libkel_Dos.so" ]] || fail "the earlier level should install kel_Dos"
for header in kel_Well.h kel_WellBore.h kel_WellBoreList.h kel_String.h kel_WellLevel.h EpDataStore.hh; do
  [[ -f "$earlier_include/$header" ]] || fail "not installed at the earlier level: $header"
done

# What the earlier level lacks, against the current level having it (so that
# the checks cannot pass for a reason of their own).
for header in kel_WellBoreListDataChangedEvent.h kel_WellBoreListDataChangedEventListener.h; do
  [[ -f "$prefix/include/kelWell/$header" ]] || fail "the current level should install $header"
  [[ ! -e "$earlier_include/$header" ]] || fail "the earlier level installs $header"
done
nm -DC --defined-only "$current_lib" >"$work/current.sym"
nm -DC --defined-only "$earlier_lib" >"$work/earlier.sym"
for absent in 'kel_WellBore::getWellBoresOfWell' 'kel_WellBoreListDataChangedEvent'; do
  grep -q "$absent" "$work/current.sym" || fail "the current level should define $absent"
  if grep -q "$absent" "$work/earlier.sym"; then fail "the earlier level defines $absent"; fi
done
grep -q 'kel_Well::setCountry(kel_String const&)' "$work/earlier.sym" || fail "the earlier level's texts are not kel_String"
if grep -E '^[0-9a-f]+ [TW] kel_Well' "$work/earlier.sym" | grep 'kel_cppUtil::String'; then
  fail "the earlier level takes kel_cppUtil::String in the signatures above"
fi
# Return types are not in the symbols: the installed headers show them. Only
# getClassName keeps kel_cppUtil::String, the platform's own virtual operation.
grep -q 'kel_WellString = kel_String;' "$earlier_include/kel_WellExport.h" || fail "no kel_String text type"
grep -q '#define KELWELL_EARLIER_INTERFACE 1' "$earlier_include/kel_WellLevel.h" || fail "the headers do not say earlier"
if grep -n 'kel_cppUtil::String' "$earlier_include"/kel_Well*.h | grep -v 'getClassName() const override;' \
  | grep -v 'kel_WellExport.h'; then
  fail "the earlier level's headers name kel_cppUtil::String above"
fi

# An application calling getWellBoresOfWell compiles against the current level only.
pc_dir="$prefix/lib/pkgconfig"
cat >"$work/bores_of_well.cpp" <<'CPP'
#include "kel_WellBore.h"
kel_Array<kel_WellBore> boresOf(const kel_Well& well) { return kel_WellBore::getWellBoresOfWell(well); }
CPP
current_flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags kelWell)
earlier_flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags kelWell-earlier)
# shellcheck disable=SC2086
c++ -std=c++17 -fsyntax-only $current_flags "$work/bores_of_well.cpp" || fail "the current level should offer getWellBoresOfWell"
# shellcheck disable=SC2086
if c++ -std=c++17 -fsyntax-only $earlier_flags "$work/bores_of_well.cpp" 2>"$work/bores_of_well.err"; then
  fail "getWellBoresOfWell compiled against the earlier level"
fi
grep -q "getWellBoresOfWell" "$work/bores_of_well.err" || { cat "$work/bores_of_well.err" >&2; fail "it failed for another reason"; }

# The applications: the earlier one with find_package(kelWellEarlier) and with
# pkg-config kelWell-earlier, the current one with find_package(kelWell).
cmake -S "$source_dir/examples/consumer_earlier" -B "$work/earlier-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  >"$work/configure-earlier.log" || { cat "$work/configure-earlier.log" >&2; exit 1; }
cmake --build "$work/earlier-cmake" >"$work/build-earlier.log" || { cat "$work/build-earlier.log" >&2; exit 1; }
# shellcheck disable=SC2086
c++ -std=c++17 "$source_dir/examples/consumer_earlier/main.cpp" -o "$work/earlier-pkg-config" \
  $(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs kelWell-earlier)
cmake -S "$source_dir/examples/consumer" -B "$work/current-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  >"$work/configure-current.log" || { cat "$work/configure-current.log" >&2; exit 1; }
cmake --build "$work/current-cmake" >"$work/build-current.log" || { cat "$work/build-current.log" >&2; exit 1; }

# Nothing crosses: each application loads its own level's libraries only.
loaded() { ldd "$1" | awk '/libkel/ {print $3}' | xargs -r realpath; }
for program in "$work/earlier-cmake/kelwell_consumer_earlier" "$work/earlier-pkg-config"; do
  libs=$(loaded "$program")
  grep -q "^$prefix/lib/kelWell-earlier/libkelWell.so" <<<"$libs" || fail "$program: $libs"
  grep -q "^$prefix/lib/kelWell-earlier/libkel_Dos.so" <<<"$libs" || fail "$program does not load kel_Dos: $libs"
  if grep -v "^$prefix/lib/kelWell-earlier/" <<<"$libs"; then fail "$program loads the libraries above"; fi
done
libs=$(loaded "$work/current-cmake/kelwell_consumer")
if grep -v "^$prefix/lib/libkel" <<<"$libs"; then fail "the current application loads the libraries above"; fi

"$kelwelld" --store "$work/wells.db" --port 0 >"$work/service.out" 2>"$work/service.err" &
service_pid=$!
address=""
for _ in $(seq 1 300); do
  if line=$(grep -m1 '^kelwelld ready at ' "$work/service.out" 2>/dev/null); then
    address=${line#kelwelld ready at }
    break
  fi
  kill -0 "$service_pid" 2>/dev/null || break
  sleep 0.1
done
[[ -n "$address" ]] || { echo "kelwelld did not start:" >&2; cat "$work/service.err" >&2; exit 1; }

export KELWELL_SERVICE=$address
"$work/earlier-cmake/kelwell_consumer_earlier" "Older A"
"$work/earlier-pkg-config" "Older B"
"$work/current-cmake/kelwell_consumer"
echo "both levels installed side by side; each application built against its own and ran against kelwelld"
