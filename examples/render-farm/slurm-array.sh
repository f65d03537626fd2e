#!/usr/bin/env bash
# A Slurm job array: each array task renders one chunk of frames with ombrix-render.
#
#   sbatch --array=0-9 examples/render-farm/slurm-array.sh EFFECT.Oms 'in/shot.%04d.png' 'out/shot.%04d.png' 1 24
#
# renders frames 1-240 in ten tasks of 24 frames. Each task is independent; a failed task can be
# resubmitted alone with --array=N. Each task renders its chunk on the processors Slurm gives it
# (--cpus-per-task) with ombrix-render --jobs.
#SBATCH --job-name=ombrix-render
#SBATCH --cpus-per-task=8
#SBATCH --output=ombrix-render-%A_%a.log
set -euo pipefail
effect=$1 input=$2 output=$3 first=$4 chunk=$5
root=${OMBRIX_ROOT:?set OMBRIX_ROOT to the installation root (the folder holding Programs/)}

a=$((first + SLURM_ARRAY_TASK_ID * chunk))
b=$((a + chunk - 1))
exec "$root/Programs/ombrix-render" --root "$root" --no-progress --jobs "${SLURM_CPUS_PER_TASK:-1}" \
  --frames "$a-$b" "$effect" "$input" "$output"
