#!/usr/bin/env bash
# A private FreeRADIUS for the simulator's enterprise networks: its configuration and
# certificates in one folder, and the server run in the foreground on that folder.
#
#   lab.sh setup DIR [PORT [SECRET]]   writes DIR (configuration, users, certificates)
#   lab.sh run DIR                     runs FreeRADIUS on DIR in the foreground until stopped
#
# PORT defaults to 18121 and SECRET to the demonstration secret; the demonstration account is
# student / library-card (PAP, EAP-MD5, PEAP with MS-CHAPv2, and EAP-TLS with the client
# certificate). Modules and dictionaries come from the system's FreeRADIUS 3.2 installation.
set -euo pipefail

usage() {
    echo "usage: $0 setup DIR [PORT [SECRET]] | run DIR" >&2
    exit 2
}

setup() {
    local dir=$1 port=${2:-18121} secret=${3:-lab-radius-secret}
    umask 077
    mkdir -p "$dir/certs" "$dir/run" "$dir/log"
    dir=$(cd "$dir" && pwd)
    local c="$dir/certs"

    # A lab CA, the server's certificate, the student's client certificate, and a second CA
    # the server does not trust with a client certificate of its own.
    ca() {
        openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -subj "/CN=$2" \
            -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
            -keyout "$c/$1.key" -out "$c/$1.pem" 2>/dev/null
    }
    leaf() { # name issuer cn usage
        openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=$3" \
            -keyout "$c/$1.key" -out "$c/$1.csr" 2>/dev/null
        printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=%s\n' \
            "$4" >"$c/$1.ext"
        openssl x509 -req -sha256 -days 3650 -in "$c/$1.csr" -CA "$c/$2.pem" -CAkey "$c/$2.key" \
            -set_serial "0x$(openssl rand -hex 8)" -extfile "$c/$1.ext" -out "$c/$1.pem" 2>/dev/null
        rm -f "$c/$1.csr" "$c/$1.ext"
    }
    ca ca "RIZorivu Lab CA"
    leaf server ca "radius.lab" serverAuth
    leaf student ca "student" clientAuth
    ca untrusted-ca "Untrusted Lab CA"
    leaf untrusted-student untrusted-ca "student" clientAuth
    for n in student untrusted-student; do
        openssl pkcs12 -export -in "$c/$n.pem" -inkey "$c/$n.key" -certfile "$c/${n%student}ca.pem" \
            -passout pass:library-card -out "$c/$n.p12" 2>/dev/null
    done

    cat >"$dir/users" <<USERS
student Cleartext-Password := "library-card"
USERS
    : >"$dir/dictionary"

    cat >"$dir/radiusd.conf" <<CONF
prefix = /usr
exec_prefix = /usr
sysconfdir = /etc
localstatedir = /var
sbindir = /usr/sbin
confdir = $dir
raddbdir = $dir
run_dir = $dir/run
logdir = $dir/log
db_dir = $dir
libdir = /usr/lib/freeradius
certdir = $dir/certs
pidfile = $dir/run/radiusd.pid
max_request_time = 30
cleanup_delay = 2
max_requests = 65536
hostname_lookups = no

log {
    destination = files
    file = $dir/log/radius.log
    auth = no
}

security {
    allow_core_dumps = no
    max_attributes = 200
    reject_delay = 0
    status_server = yes
}

thread pool {
    start_servers = 2
    max_servers = 4
    min_spare_servers = 1
    max_spare_servers = 3
    max_requests_per_server = 0
}

client lab {
    ipaddr = 127.0.0.1
    secret = "$secret"
    require_message_authenticator = yes
}

modules {
    pap {
    }
    mschap {
    }
    files {
        filename = $dir/users
    }
    eap {
        default_eap_type = md5
        timer_expire = 60
        ignore_unknown_eap_types = no
        max_sessions = 256
        md5 {
        }
        tls-config tls-common {
            private_key_file = $dir/certs/server.key
            certificate_file = $dir/certs/server.pem
            ca_file = $dir/certs/ca.pem
            fragment_size = 1024
            include_length = yes
            cipher_list = "DEFAULT"
            tls_min_version = "1.2"
            tls_max_version = "1.2"
            check_cert_cn = %{User-Name}
            cache {
                enable = no
            }
        }
        tls {
            tls = tls-common
        }
        peap {
            tls = tls-common
            default_eap_type = mschapv2
            copy_request_to_tunnel = yes
            use_tunneled_reply = yes
            virtual_server = inner-tunnel
        }
        mschapv2 {
        }
    }
}

server default {
    listen {
        type = auth
        ipaddr = 127.0.0.1
        port = $port
    }
    authorize {
        eap {
            ok = return
        }
        files
        pap
    }
    authenticate {
        Auth-Type PAP {
            pap
        }
        eap
    }
}

server inner-tunnel {
    authorize {
        mschap
        eap {
            ok = return
        }
        files
        pap
    }
    authenticate {
        Auth-Type PAP {
            pap
        }
        Auth-Type MS-CHAP {
            mschap
        }
        eap
    }
}
CONF
    chmod -R go-rwx "$dir"
}

run() {
    local dir=$1
    [ -f "$dir/radiusd.conf" ] || { echo "$dir holds no lab configuration (run setup first)" >&2; exit 1; }
    # In the foreground, so that whoever started it stops it by its process id.
    exec freeradius -f -d "$dir" -l stdout
}

[ $# -ge 2 ] || usage
case $1 in
    setup) shift; setup "$@" ;;
    run) run "$2" ;;
    *) usage ;;
esac
