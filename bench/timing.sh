# Shared by the speed scripts (sourced): clips, timed runs, their statistics and output checks.
# Expects $BENCH_WORK (a scratch folder) and $runs (rounds per measurement).

# A test clip made with the ffmpeg tool: H.264 video and AAC stereo audio.
# make_clip <file> <width>x<height> <seconds> <tone Hz>
make_clip() {
    ffmpeg -nostdin -v error -y \
        -f lavfi -i "testsrc2=size=$2:rate=25:duration=$3" \
        -f lavfi -i "sine=frequency=$4:sample_rate=44100:duration=$3" \
        -ac 2 -c:v libx264 -preset veryfast -g 50 -pix_fmt yuv420p -c:a aac -b:a 128k \
        -shortest "$1"
}

# One run of a command, timed from outside: prints "wall cpu" in seconds, cpu being user plus
# system time of the process and every child it waited for. A failing command ends the script.
# With $bench_cpu set the command runs on that processor only.
measure() {
    local TIMEFORMAT='%R %U %S' t wall user sys errors="$BENCH_WORK/stderr.$BASHPID" pin=()
    [ -n "${bench_cpu:-}" ] && pin=(taskset -c "$bench_cpu")
    if ! t=$({ time "${pin[@]}" "$@" >/dev/null 2>"$errors"; } 2>&1); then
        echo "failed: $*" >&2
        cat "$errors" >&2
        return 1
    fi
    read -r wall user sys <<<"$t"
    echo "$wall $(echo "$user + $sys" | bc -l)"
}

# One round of a comparison: two commands (names of functions that call measure) started
# together, the first named a moment before the other; leaves their "wall cpu" in $first_time
# and $second_time. Both sides of a round meet the same load: on a machine whose load comes and
# goes over seconds (other builds), sides timed one after the other did not, and the same build
# printed worst ratios of 1.186 and 1.017, or 1.143 with ratios paired per round.
# measure_together <first function> <second function> [<first's cpu> <second's cpu>]
measure_together() {
    bench_cpu=${3:-} "$1" >"$BENCH_WORK/first.time" &
    local first=$! second status=0
    bench_cpu=${4:-} "$2" >"$BENCH_WORK/second.time" &
    second=$!
    wait "$first" || status=1
    wait "$second" || status=1
    ((status == 0)) || return 1
    first_time=$(<"$BENCH_WORK/first.time")
    second_time=$(<"$BENCH_WORK/second.time")
}

# $runs rounds of measure_together, the side started first alternating; leaves the samples in
# the arrays engine_runs and tool_runs.
#
# With $pin_cpus set (single-threaded sides, an even $runs) each side runs on one processor of
# its own, and the two swap processors from one round to the next: rounds 2p and 2p+1 use the
# processors 2p and 2p+1 (modulo the count). Left to the scheduler, the engine's converting
# thread landed on the same processor round after round, and when that virtual processor was
# slow for minutes (the host's load) a whole case came out 20-30 % slower in CPU time while the
# tool, placed elsewhere, was not; the swapped pair of rounds cancels a processor's speed.
# compare <engine function> <tool function>
compare() {
    local i n cpus=(0 0) count
    count=$(nproc)
    engine_runs=()
    tool_runs=()
    for ((i = 0; i < runs; i++)); do
        if [ -n "${pin_cpus:-}" ] && ((count > 1)); then
            n=$((i / 2 * 2))
            cpus=($((n % count)) $(((n + 1) % count)))
        else
            cpus=("" "")
        fi
        if ((i % 2 == 0)); then
            measure_together "$1" "$2" "${cpus[0]}" "${cpus[1]}"
            engine_runs+=("$first_time")
            tool_runs+=("$second_time")
        else
            measure_together "$2" "$1" "${cpus[0]}" "${cpus[1]}"
            tool_runs+=("$first_time")
            engine_runs+=("$second_time")
        fi
    done
}

# Minimum and median of one field (1 wall, 2 cpu) of "wall cpu" samples.
min_median() {
    local field=$1
    shift
    printf '%s\n' "$@" | awk -v f="$field" '{ print $f }' | sort -g | awk '
        { v[NR] = $1 }
        END { printf "%.3f %.3f\n", v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

max() {
    if (($(echo "$2 > $1" | bc -l))); then echo "$2"; else echo "$1"; fi
}

# Prints the two sides' minimum and median wall and CPU time with the ratios of those, and the
# paired ratios: engine over tool within each round, whose two runs met the same load. The
# median of the paired wall-time ratios is left in $ratio (with $pin_cpus, the median over the
# processor pairs of their two rounds' geometric mean): a side's minimum is its one luckiest
# run, which says little about the other side's. On a shared machine six runs of the same build
# gave worst minimum ratios from 1.022 to 1.165 (one case's engine minimum met a slow stretch of
# the host), the paired medians of the same runs 1.022 to 1.044.
# report <title> <n> <n engine samples> <n tool samples>
# The sides are called $first_side and $second_side, "engine" and "tool" unless set.
report() {
    local title=$1 n=$2 a=${first_side:-engine} b=${second_side:-tool}
    shift 2
    local engine=("${@:1:n}") tool=("${@:n+1:n}") kind field em ed tm td i
    echo "$title (min/median of $n rounds)"
    for field in 1 2; do
        kind=wall
        ((field == 1)) || kind=cpu
        read -r em ed <<<"$(min_median "$field" "${engine[@]}")"
        read -r tm td <<<"$(min_median "$field" "${tool[@]}")"
        printf '  %-5s %s %.2f/%.2f s, %s %.2f/%.2f s, ratio %.3f/%.3f\n' "$kind:" "$a" \
            "$em" "$ed" "$b" "$tm" "$td" "$(echo "$em / $tm" | bc -l)" "$(echo "$ed / $td" | bc -l)"
    done
    local pairs=() wall cpu
    for ((i = 0; i < n; i++)); do
        read -r em ed <<<"${engine[i]}"
        read -r tm td <<<"${tool[i]}"
        pairs+=("$(echo "$em / $tm" | bc -l) $(echo "$ed / $td" | bc -l)")
    done
    read -r _ wall <<<"$(min_median 1 "${pairs[@]}")"
    read -r _ cpu <<<"$(min_median 2 "${pairs[@]}")"
    printf '  paired (%s/%s in the same round, median of %d): wall %.3f, cpu %.3f\n' \
        "$a" "$b" "$n" "$wall" "$cpu"
    ratio=$wall
    [ -n "${pin_cpus:-}" ] || return 0
    # The two rounds of a processor pair: the geometric mean of their ratios.
    local swapped=() w1 c1 w2 c2
    for ((i = 0; i + 1 < n; i += 2)); do
        read -r w1 c1 <<<"${pairs[i]}"
        read -r w2 c2 <<<"${pairs[i + 1]}"
        swapped+=("$(echo "sqrt($w1 * $w2)" | bc -l) $(echo "sqrt($c1 * $c2)" | bc -l)")
    done
    read -r _ wall <<<"$(min_median 1 "${swapped[@]}")"
    read -r _ cpu <<<"$(min_median 2 "${swapped[@]}")"
    printf '  swapped (the two rounds of a processor pair, median of %d): wall %.3f, cpu %.3f\n' \
        "${#swapped[@]}" "$wall" "$cpu"
    ratio=$wall
}

# The goal of a conversion's start-up, engine over tool (medians): the engine loads the same
# libraries at run time and opens the same file, so it starts as fast as the tool; a fifth
# more allows for the spread of medians of about 100 ms on a shared machine (0.86 and 0.98
# measured). More would mean work before the first frame that the tool does not do.
startup_goal=1.20

# Start-up of either side, $runs times in alternating order: prints the minimum and median wall
# time in milliseconds of each, and the ratio of the medians with its goal. Arguments: the names
# of two arrays holding the commands.
startup() {
    local -n engine_cmd=$1 tool_cmd=$2
    local engine=() tool=() i em ed tm td
    for ((i = 0; i < runs; i++)); do
        if ((i % 2 == 0)); then
            engine+=("$(measure "${engine_cmd[@]}")")
            tool+=("$(measure "${tool_cmd[@]}")")
        else
            tool+=("$(measure "${tool_cmd[@]}")")
            engine+=("$(measure "${engine_cmd[@]}")")
        fi
    done
    read -r em ed <<<"$(min_median 1 "${engine[@]}")"
    read -r tm td <<<"$(min_median 1 "${tool[@]}")"
    printf 'start-up (a one-frame conversion, wall min/median): engine %.0f/%.0f ms, ' \
        "$(echo "$em * 1000" | bc -l)" "$(echo "$ed * 1000" | bc -l)"
    printf 'tool %.0f/%.0f ms\n' "$(echo "$tm * 1000" | bc -l)" "$(echo "$td * 1000" | bc -l)"
    printf 'start-up, engine/tool (medians): %.3f (goal <= %s)\n' "$(echo "$ed / $td" | bc -l)" \
        "$startup_goal"
    tool_startup=$tm
}

# The streams of a file, one "codec,type,decoded frames" line each.
streams_of() {
    ffprobe -v error -count_frames -show_entries stream=codec_type,codec_name,nb_read_frames \
        -of csv=p=0 "$1"
}

# A digest of every stream's packets.
packets_of() {
    ffmpeg -nostdin -v error -i "$1" -map 0 -c copy -f streamhash -hash md5 -
}

# Compares an engine output with the tool's: prints the streams and whether the packets are
# identical; fails when streams, codecs or frame counts differ.
check_same() {
    local a b
    a=$(streams_of "$1")
    b=$(streams_of "$2")
    if [ "$a" != "$b" ]; then
        echo "engine [$(echo "$a" | paste -sd' ')], tool [$(echo "$b" | paste -sd' ')]"
        return 1
    fi
    a=$(echo "$a" | awk -F, '{ printf "%s%s %s %s frames", (NR > 1 ? ", " : ""), $1, $2, $3 }')
    if [ "$(packets_of "$1")" = "$(packets_of "$2")" ]; then
        echo "$a; packets identical"
    else
        echo "$a; packets differ"
    fi
}
