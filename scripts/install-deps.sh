#!/usr/bin/env bash
# Installs the Debian packages that kelWell builds and runs with, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libomniorb4-dev omniidl omniorb-idl libcos4-dev   # the ORB, its IDL compiler, COS stubs
  libsqlite3-dev                                    # the service's embedded store
  libpqxx-dev postgresql-15                         # the shared store; a throw-away cluster for tests
  libssl-dev openssl                                # the ORB's TLS transport; test certificates
  libproj-dev proj-data                             # coordinate systems and transforms
  libgtest-dev libgmock-dev googletest              # tests
  libbenchmark-dev                                  # benchmarks
  libcairo2-dev fonts-dejavu-core                   # PNG log plots of the kelwell command
  libcli11-dev nlohmann-json3-dev                   # the kelwell command: options, --json
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
