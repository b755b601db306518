#!/usr/bin/env bash
# The certificate authority the https tests trust, and the certificates of
# their servers.
#
#   test_ca.sh install    makes the authority once and adds it to the machine's
#                         trust store (root, or through sudo); both builds
#                         read that store (libcurl, and wine's WinINet).
#   test_ca.sh trusted    succeeds when the machine trusts the authority.
#   test_ca.sh issue DIR  writes the servers' certificates into DIR, each a
#                         PEM file with its key: localhost.pem, elsewhere.pem
#                         (made out for another name), expired.pem and
#                         untrusted.pem (self-signed).
#
# The authority may sign for localhost and names under it only, so trusting
# it lends nobody more than the machine's own loopback servers; that is why
# its key may stay readable for the tests.
set -euo pipefail

ca_dir=/usr/local/share/xloop-test-ca
store_copy=/usr/local/share/ca-certificates/xloop-test-ca.crt
machine_bundle=/etc/ssl/certs/ca-certificates.crt

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Valid for at least thirty more days.
still_valid() {
  [ -f "$1" ] && openssl x509 -checkend $((30 * 86400)) -noout -in "$1" >/dev/null
}

trusted() {
  still_valid "$ca_dir/ca.crt" && openssl verify -CAfile "$machine_bundle" "$ca_dir/ca.crt" >/dev/null 2>&1
}

install_ca() {
  if ! still_valid "$ca_dir/ca.crt" || [ ! -f "$ca_dir/ca.key" ]; then
    local fresh
    fresh="$(mktemp -d)"
    openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -subj "/CN=XLoop localhost test CA" \
      -keyout "$fresh/ca.key" -out "$fresh/ca.crt" \
      -addext "basicConstraints=critical,CA:TRUE,pathlen:0" \
      -addext "keyUsage=critical,keyCertSign,cRLSign" \
      -addext "nameConstraints=critical,permitted;DNS:localhost" 2>/dev/null
    chmod 644 "$fresh/ca.key" "$fresh/ca.crt"
    as_root mkdir -p "$ca_dir"
    as_root mv -f "$fresh/ca.key" "$fresh/ca.crt" "$ca_dir/"
    rmdir "$fresh"
  fi
  if ! cmp -s "$ca_dir/ca.crt" "$store_copy" || ! trusted; then
    as_root cp "$ca_dir/ca.crt" "$store_copy"
    as_root update-ca-certificates >/dev/null 2>&1
  fi
  trusted
}

# issue_leaf NAME DNSNAME DIR [openssl ca date options...]
issue_leaf() {
  local name="$1" dns="$2" dir="$3"
  shift 3
  local work="$dir/ca-work"
  rm -rf "$work"
  mkdir -p "$work"
  : >"$work/index.txt"
  cat >"$work/ca.cnf" <<EOF
[ca]
default_ca = test
[test]
database = $work/index.txt
new_certs_dir = $work
serial = $work/serial
rand_serial = yes
default_md = sha256
policy = any
unique_subject = no
[any]
commonName = supplied
[leaf]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:$dns
EOF
  openssl req -new -newkey rsa:2048 -nodes -subj "/CN=$dns" -keyout "$work/leaf.key" -out "$work/leaf.csr" 2>/dev/null
  openssl ca -batch -notext -config "$work/ca.cnf" -extensions leaf -cert "$ca_dir/ca.crt" -keyfile "$ca_dir/ca.key" \
    -in "$work/leaf.csr" -out "$work/leaf.crt" "$@" 2>/dev/null
  cat "$work/leaf.crt" "$work/leaf.key" >"$dir/$name.pem"
  rm -rf "$work"
}

issue() {
  local dir="$1"
  mkdir -p "$dir"
  [ -f "$ca_dir/ca.key" ] || { echo "no test CA in $ca_dir: run testing/test_ca.sh install" >&2; return 1; }
  issue_leaf localhost localhost "$dir" -days 30
  issue_leaf elsewhere elsewhere.localhost "$dir" -days 30
  issue_leaf expired localhost "$dir" -startdate 20200101000000Z -enddate 20200201000000Z
  openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 30 -subj "/CN=localhost" \
    -addext "subjectAltName=DNS:localhost" -keyout "$dir/untrusted.key" -out "$dir/untrusted.crt" 2>/dev/null
  cat "$dir/untrusted.crt" "$dir/untrusted.key" >"$dir/untrusted.pem"
  rm -f "$dir/untrusted.crt" "$dir/untrusted.key"
}

case "${1:-}" in
  install) install_ca ;;
  trusted) trusted ;;
  issue) issue "${2:?usage: test_ca.sh issue DIR}" ;;
  *) echo "usage: test_ca.sh install | trusted | issue DIR" >&2; exit 2 ;;
esac
